#include "mainwin/real_rope_controls.h"

#include "mainwin/layout.h"
#include "mainwin/perturbation_panel.h"
#include "sim/simulation.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QEvent>
#include <QLabel>
#include <QLocale>
#include <QPushButton>

namespace tolvi {

namespace {
QDoubleSpinBox* spinBox(QWidget* parent, const QString& name)
{
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(name);
    // French numbers on every machine: a decimal comma.
    box->setLocale(QLocale(QLocale::French, QLocale::France));
    box->setKeyboardTracking(false);
    box->setAccelerated(true);
    return box;
}
}  // namespace

RealRopeControls::RealRopeControls(Simulation& sim, QWidget* panel) : QObject(panel), sim_(sim)
{
    using namespace layout::picture3;
    cordeReelle_ = new QCheckBox(QStringLiteral("Corde &réelle : réflexions aux deux extrémités"), panel);
    cordeReelle_->setObjectName(QStringLiteral("CordeReelle"));
    cordeReelle_->setGeometry(kCordeReelle);
    cordeReelle_->setToolTip(QStringLiteral(
        "La source tient la corde : ce qui lui revient repart renversé ; les ondes font des allers et retours "
        "en s'amortissant (ondes stationnaires, résonance, corde pincée)"));
    cordeReelle_->setAccessibleName(QStringLiteral("Corde réelle : réflexions aux deux extrémités"));
    usePanelColour(cordeReelle_);

    label_ = new QLabel(QStringLiteral("Amorti&ssement :"), panel);
    label_->setGeometry(kAmortissementLabel);
    usePanelColour(label_);
    amortissement_ = spinBox(panel, QStringLiteral("Textamort"));
    amortissement_->setGeometry(kAmortissement);
    amortissement_->setRange(0.0, RingingRope::kDampingMax);
    amortissement_->setDecimals(1);
    amortissement_->setSingleStep(0.5);
    amortissement_->setSuffix(QStringLiteral("\u00a0% par m"));
    amortissement_->setToolTip(QStringLiteral(
        "Part de l'amplitude perdue par mètre parcouru (0 à 50 %) : 1 % par m garde 0,99 de l'amplitude "
        "après 1 m, 0,87 après un aller et retour de 14 m"));
    amortissement_->setAccessibleName(QStringLiteral("Amortissement"));
    amortissement_->setAccessibleDescription(QStringLiteral("Pourcentage de l'amplitude perdu par mètre parcouru"));
    label_->setBuddy(amortissement_);

    pincer_ = new QPushButton(QStringLiteral("Pi&ncer la corde"), panel);
    pincer_->setObjectName(QStringLiteral("Pincer"));
    pincer_->setGeometry(kPincer);
    pincer_->setToolTip(QStringLiteral(
        "Écarter la corde de l'amplitude choisie au point indiqué, ses deux extrémités tenues, puis la lâcher"));
    pincer_->setAccessibleName(QStringLiteral("Pincer la corde"));
    point_ = spinBox(panel, QStringLiteral("PointPince"));
    point_->setGeometry(kPointPince);
    point_->setRange(0.05, rope::kLength - 0.05);
    point_->setDecimals(2);
    point_->setSingleStep(0.05);
    point_->setPrefix(QStringLiteral("à "));
    point_->setSuffix(QStringLiteral("\u00a0m"));
    point_->setToolTip(QStringLiteral("Distance à la source du point où la corde est pincée"));
    point_->setAccessibleName(QStringLiteral("Point où la corde est pincée, en mètres depuis la source"));

    connect(cordeReelle_, &QCheckBox::toggled, this, [this](bool on) {
        if (!syncing_)
            sim_.setCordeReelle(on);
    });
    connect(amortissement_, &QDoubleSpinBox::valueChanged, this, [this](double value) {
        if (!syncing_)
            sim_.setAmortissement(value);
    });
    connect(point_, &QDoubleSpinBox::valueChanged, this, [this](double value) {
        if (!syncing_)
            sim_.setPointPince(value);
    });
    connect(pincer_, &QPushButton::clicked, this, [this] { sim_.pincer(point_->value()); });
    for (QWidget* w : {static_cast<QWidget*>(cordeReelle_), static_cast<QWidget*>(label_),
                       static_cast<QWidget*>(amortissement_), static_cast<QWidget*>(pincer_),
                       static_cast<QWidget*>(point_)})
        w->installEventFilter(this);
    sync();
}

QString RealRopeControls::hint()
{
    return QStringLiteral("Corde réelle : la source renvoie les ondes amorties ; "
                          "pincer : la corde écartée puis lâchée");
}

bool RealRopeControls::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Enter)
        emit hovered(hint());
    return QObject::eventFilter(watched, event);
}

void RealRopeControls::sync()
{
    syncing_ = true;
    if (cordeReelle_->isChecked() != sim_.cordeReelle())
        cordeReelle_->setChecked(sim_.cordeReelle());
    if (amortissement_->value() != sim_.amortissement())
        amortissement_->setValue(sim_.amortissement());
    if (point_->value() != sim_.pointPince())
        point_->setValue(sim_.pointPince());
    // The damping belongs to the real rope.
    amortissement_->setEnabled(sim_.cordeReelle());
    label_->setEnabled(sim_.cordeReelle());
    syncing_ = false;
}

}  // namespace tolvi
