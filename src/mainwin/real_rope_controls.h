#pragma once
// The real rope's controls in the rope panel (tab « Corde »): the check box
// « Corde réelle : réflexions aux deux extrémités », the damping
// « Amortissement » in percent of amplitude lost per metre, and « Pincer la
// corde » with the point where the rope is plucked. Saved in nothing: the
// configuration files keep their format, and every start is on the default
// rope.

#include <QObject>
#include <QString>

class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QWidget;

namespace tolvi {
class Simulation;

class RealRopeControls : public QObject {
    Q_OBJECT
public:
    // The controls are children of `panel`.
    RealRopeControls(Simulation& sim, QWidget* panel);

    QCheckBox* cordeReelle() const { return cordeReelle_; }
    QDoubleSpinBox* amortissement() const { return amortissement_; }
    QPushButton* pincer() const { return pincer_; }
    QDoubleSpinBox* pointPince() const { return point_; }

    void sync();

    // The hint-line text of these controls.
    static QString hint();

signals:
    void hovered(const QString& hint);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Simulation& sim_;
    QCheckBox* cordeReelle_;
    QLabel* label_;
    QDoubleSpinBox* amortissement_;
    QPushButton* pincer_;
    QDoubleSpinBox* point_;
    bool syncing_ = false;
};

}  // namespace tolvi
