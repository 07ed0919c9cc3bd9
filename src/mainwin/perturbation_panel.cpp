#include "mainwin/perturbation_panel.h"
#include "mainwin/zoom.h"

#include "mainwin/layout.h"
#include "mainwin/panel_painters.h"
#include "mainwin/param_box.h"
#include "sim/simulation.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>
#include <QSignalBlocker>

namespace tolvi {

void usePanelColour(QWidget* widget)
{
    widget->setAutoFillBackground(true);
    QPalette pal = widget->palette();
    pal.setColor(QPalette::Window, panelColour());
    pal.setColor(QPalette::Button, panelColour());
    widget->setPalette(pal);
}

void setLabelColours(QLabel* label, const QColor& text, const QColor* background)
{
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, text);
    if (background) {
        label->setAutoFillBackground(true);
        pal.setColor(QPalette::Window, *background);
    }
    label->setPalette(pal);
}

PerturbationPanel::PerturbationPanel(Simulation& sim, QWidget* parent) : QWidget(parent), sim_(sim)
{
    setObjectName(QStringLiteral("Frame2"));
    setFont(panelFont());
    usePanelColour(this);
    setMouseTracking(true);
    resize(409, 177);

    using namespace layout::frame2;
    amplitude_ = new ParamBox(sim_, TfAmplitude, this);
    amplitude_->setGeometry(QRect(QPoint(24, kAmplitudeTop), kBox));
    duree_ = new ParamBox(sim_, TfDuree, this);
    duree_->setGeometry(QRect(QPoint(24, kDureeTop), kBox));
    frequence_ = new ParamBox(sim_, TfFrequence, this);
    frequence_->setGeometry(kFrequence);

    checksi_ = new QCheckBox(QStringLiteral("Déformation symétrique"), this);
    checksi_->setObjectName(QStringLiteral("Checksi"));
    checksi_->setGeometry(kChecksi);
    usePanelColour(checksi_);
    connect(checksi_, &QCheckBox::toggled, this, [this](bool on) {
        if (!syncing_)
            sim_.setChecksi(on);
    });

    const QString captions[3] = {QStringLiteral("Onde solitaire"), QStringLiteral("Onde périodiqe"),
                                 QStringLiteral("Onde sinusoïdale")};
    const QRect places[3] = {kOptpert0, kOptpert1, kOptpert2};
    auto* group = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        auto* option = new QRadioButton(captions[i], this);
        option->setObjectName(QStringLiteral("Optpert%1").arg(i));
        option->setGeometry(places[i]);
        usePanelColour(option);
        group->addButton(option, i);
        optpert_[std::size_t(i)] = option;
        connect(option, &QRadioButton::toggled, this, [this, i](bool on) {
            if (on && !syncing_)
                sim_.selectOptpert(i);
        });
    }
    aLaMain_ = new QCheckBox(QStringLiteral("À la &main"), this);
    aLaMain_->setObjectName(QStringLiteral("ALaMain"));
    aLaMain_->setGeometry(kALaMain);
    aLaMain_->setToolTip(QStringLiteral(
        "La règle rouge suit la souris (la tirer vers le haut ou le bas) ou les flèches haut et bas quand la "
        "corde a le focus, à 40 cm au plus de part et d'autre ; son mouvement part le long de la corde"));
    aLaMain_->setAccessibleName(QStringLiteral("À la main : la source suit la main"));
    usePanelColour(aLaMain_);
    connect(aLaMain_, &QCheckBox::toggled, this, [this](bool on) {
        if (!syncing_)
            sim_.setALaMain(on);
    });
    placeBoxes();
    sync();
}

ParamBox* PerturbationPanel::textfreq(int index) const
{
    switch (index) {
    case TfFrequence: return frequence_;
    case TfAmplitude: return amplitude_;
    case TfDuree: return duree_;
    default: return nullptr;
    }
}

void PerturbationPanel::sync()
{
    syncing_ = true;
    for (ParamBox* box : {frequence_, amplitude_, duree_})
        box->sync();
    const ControlsState& c = sim_.controls();
    if (checksi_->isChecked() != sim_.state().symetrique)
        checksi_->setChecked(sim_.state().symetrique);
    if (checksi_->isEnabled() != c.checksiEnabled)
        checksi_->setEnabled(c.checksiEnabled);
    const int type = sim_.state().typeOnde;
    if (type >= 0 && type <= 2 && !optpert_[std::size_t(type)]->isChecked())
        optpert_[std::size_t(type)]->setChecked(true);
    if (aLaMain_->isChecked() != sim_.aLaMain())
        aLaMain_->setChecked(sim_.aLaMain());
    syncing_ = false;
}

void PerturbationPanel::applyBoxes(const QRect& amplitude, const QRect& duree)
{
    if (zoom::designRect(amplitude_) != amplitude)
        zoom::place(amplitude_, amplitude);
    if (zoom::designRect(duree_) != duree)
        zoom::place(duree_, duree);
}

void PerturbationPanel::placeBoxes()
{
    Frame2Boxes boxes{zoom::designRect(amplitude_), zoom::designRect(duree_), zoom::designRect(frequence_)};
    layoutFrame2(this, boxes);
    applyBoxes(boxes.amplitude, boxes.duree);
}

void PerturbationPanel::paintEvent(QPaintEvent*)
{
    Frame2Boxes boxes{zoom::designRect(amplitude_), zoom::designRect(duree_), zoom::designRect(frequence_)};
    QPainter p(this);
    zoom::scalePainter(p, this);
    paintFrame2(p, zoom::designSize(this), boxes);
    p.end();
    applyBoxes(boxes.amplitude, boxes.duree);
}

void PerturbationPanel::mouseMoveEvent(QMouseEvent* event)
{
    if (!childAt(event->position().toPoint()))
        emit hovered();
    QWidget::mouseMoveEvent(event);
}

void PerturbationPanel::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange)
        update();
    QWidget::changeEvent(event);
}

}  // namespace tolvi
