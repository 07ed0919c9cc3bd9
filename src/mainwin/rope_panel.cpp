#include "mainwin/rope_panel.h"
#include "mainwin/zoom.h"

#include "mainwin/layout.h"
#include "mainwin/panel_painters.h"
#include "mainwin/param_box.h"
#include "mainwin/perturbation_panel.h"
#include "mainwin/real_rope_controls.h"
#include "sim/simulation.h"

#include <QButtonGroup>
#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>

namespace tolvi {

RopePanel::RopePanel(Simulation& sim, QWidget* parent) : QWidget(parent), sim_(sim)
{
    setObjectName(QStringLiteral("Picture3"));
    setFont(panelFont());
    usePanelColour(this);
    setMouseTracking(true);
    resize(409, 177);

    using namespace layout::picture3;
    masse_ = new ParamBox(sim_, TfMasse, this);
    masse_->setGeometry(QRect(QPoint(24, kMasseTop), kBox));
    tension_ = new ParamBox(sim_, TfTension, this);
    tension_->setGeometry(QRect(QPoint(24, kTensionTop), kBox));

    const QString captions[3] = {QStringLiteral("Extrémité liée à un amortisseur"),
                                 QStringLiteral("Extrémité fixe"), QStringLiteral("Extrémité libre")};
    const QRect places[3] = {kOptbout0, kOptbout1, kOptbout2};
    auto* group = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        auto* option = new QRadioButton(captions[i], this);
        option->setObjectName(QStringLiteral("Optbout%1").arg(i));
        option->setGeometry(places[i]);
        usePanelColour(option);
        group->addButton(option, i);
        optbout_[std::size_t(i)] = option;
        connect(option, &QRadioButton::toggled, this, [this, i](bool on) {
            if (on && !syncing_)
                sim_.selectOptbout(i);
        });
    }
    realRope_ = new RealRopeControls(sim_, this);
    connect(realRope_, &RealRopeControls::hovered, this, &RopePanel::hoveredHint);
    placeBoxes();
    sync();
}

ParamBox* RopePanel::textfreq(int index) const
{
    return index == TfMasse ? masse_ : index == TfTension ? tension_ : nullptr;
}

void RopePanel::sync()
{
    syncing_ = true;
    masse_->sync();
    tension_->sync();
    const int type = sim_.state().typeBout;
    if (type >= 0 && type <= 2 && !optbout_[std::size_t(type)]->isChecked())
        optbout_[std::size_t(type)]->setChecked(true);
    realRope_->sync();
    syncing_ = false;
}

void RopePanel::applyBoxes(const QRect& masse, const QRect& tension)
{
    if (zoom::designRect(masse_) != masse)
        zoom::place(masse_, masse);
    if (zoom::designRect(tension_) != tension)
        zoom::place(tension_, tension);
}

void RopePanel::placeBoxes()
{
    Picture3Boxes boxes{zoom::designRect(masse_), zoom::designRect(tension_)};
    layoutPicture3(this, boxes);
    applyBoxes(boxes.masse, boxes.tension);
}

void RopePanel::paintEvent(QPaintEvent*)
{
    Picture3Boxes boxes{zoom::designRect(masse_), zoom::designRect(tension_)};
    QPainter p(this);
    zoom::scalePainter(p, this);
    paintPicture3(p, zoom::designSize(this), boxes);
    p.end();
    applyBoxes(boxes.masse, boxes.tension);
}

void RopePanel::mouseMoveEvent(QMouseEvent* event)
{
    if (!childAt(event->position().toPoint()))
        emit hovered();
    QWidget::mouseMoveEvent(event);
}

void RopePanel::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange)
        update();
    QWidget::changeEvent(event);
}

}  // namespace tolvi
