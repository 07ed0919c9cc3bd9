#include "measure/tools_panel.h"

#include "mainwin/zoom.h"

#include "mainwin/layout.h"
#include "mainwin/panel_painters.h"
#include "mainwin/perturbation_panel.h"
#include "measure/up_down.h"
#include "sim/rope_painter.h"
#include "sim/simulation.h"

#include <QCheckBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace tolvi {


ToolsPanel::ToolsPanel(Simulation& sim, QWidget* parent) : QWidget(parent), sim_(sim)
{
    setObjectName(QStringLiteral("Picture1"));
    setFont(panelFont());
    usePanelColour(this);
    setMouseTracking(true);
    resize(409, 177);

    using namespace layout::tools;
    check1_ = new QCheckBox(QStringLiteral("Démarrer simultanément l'onde, le chronomètre et le graphe"), this);
    check1_->setObjectName(QStringLiteral("Check1"));
    check1_->setGeometry(kCheck1);
    usePanelColour(check1_);
    connect(check1_, &QCheckBox::toggled, this, [this](bool on) {
        if (!syncing_)
            sim_.setCheck1(on);
    });

    label2_ = new QLabel(QStringLiteral("Durée de l'enregistrement :"), this);
    label2_->setObjectName(QStringLiteral("Label2"));
    // Wide enough for its text in the fonts of this desktop, up to Labelg.
    label2_->setGeometry(kLabel2.adjusted(0, 0, std::max(0, kLabelg.left() - kLabel2.right() - 1), 0));

    labelg_ = new QLabel(this);
    labelg_->setObjectName(QStringLiteral("Labelg"));
    labelg_->setGeometry(kLabelg);
    const QColor white = qbColor(15);
    setLabelColours(labelg_, qbColor(0), &white);
    labelg_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    labelg_->setIndent(2);

    upDown_ = new UpDown(1, 10, this);
    upDown_->setGeometry(kUpDown1);
    upDown_->showValue(sim_.durationIndex());
    connect(upDown_, &UpDown::valueChanged, this, [this](int value) {
        if (!syncing_)
            sim_.setDurationIndex(value);
    });

    check2_ = new QCheckBox(QStringLiteral("Enregistrement continu"), this);
    check2_->setObjectName(QStringLiteral("Check2"));
    check2_->setGeometry(kCheck2);
    usePanelColour(check2_);
    connect(check2_, &QCheckBox::toggled, this, [this](bool on) {
        if (!syncing_)
            sim_.setCheck2(on);
    });

    const QRect places[2] = {kLabeli0, kLabeli1};
    const QColor textColours[2] = {QColor(0, 0, 255), QColor(255, 0, 0)};
    for (int i = 0; i < 2; ++i) {
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("Labeli%1").arg(i));
        label->setGeometry(places[i]);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        setLabelColours(label, textColours[i], nullptr);
        labeli_[std::size_t(i)] = label;
    }
    sync();
}

void ToolsPanel::sync()
{
    syncing_ = true;
    const ControlsState& c = sim_.controls();
    if (check1_->isChecked() != c.check1)
        check1_->setChecked(c.check1);
    if (check2_->isChecked() != c.check2)
        check2_->setChecked(c.check2);
    if (labelg_->text() != sim_.labelg())
        labelg_->setText(sim_.labelg());
    upDown_->showValue(sim_.durationIndex());
    for (int i = 0; i < 2; ++i)
        if (labeli_[std::size_t(i)]->text() != c.labeli[std::size_t(i)])
            labeli_[std::size_t(i)]->setText(c.labeli[std::size_t(i)]);
    syncing_ = false;
}

void ToolsPanel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    zoom::scalePainter(p, this);
    paintPicture1(p, zoom::designSize(this),
                  {zoom::designRect(labeli_[0]), zoom::designRect(labeli_[1]),
                   labeli_[0]->palette().color(QPalette::WindowText),
                   labeli_[1]->palette().color(QPalette::WindowText)});
}

void ToolsPanel::mouseMoveEvent(QMouseEvent* event)
{
    if (!childAt(event->position().toPoint()))
        emit hovered();
    QWidget::mouseMoveEvent(event);
}

}  // namespace tolvi
