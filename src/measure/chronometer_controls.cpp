#include "measure/chronometer_controls.h"

#include "mainwin/layout.h"
#include "mainwin/panel_painters.h"
#include "sim/simulation.h"

#include <QLabel>
#include <QPushButton>

namespace tolvi {

ChronometerControls::ChronometerControls(Simulation& sim, QWidget* window) : QObject(window), sim_(sim)
{
    label4_ = new QLabel(window);
    label4_->setObjectName(QStringLiteral("Label4"));
    label4_->setGeometry(layout::kLabel4);
    label4_->setAutoFillBackground(true);
    QPalette pal = label4_->palette();
    pal.setColor(QPalette::Window, panelColour());
    pal.setColor(QPalette::WindowText, QColor(0, 0, 0));
    label4_->setPalette(pal);
    label4_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label4_->setIndent(3);

    command5_ = new QPushButton(QStringLiteral("0"), window);
    command5_->setObjectName(QStringLiteral("Command5"));
    command5_->setGeometry(layout::kCommand5);
    command5_->setToolTip(QStringLiteral("Remise à zéro"));
    connect(command5_, &QPushButton::clicked, this, [this] { sim_.Command5_Click(); });

    command3_ = new QPushButton(window);
    command3_->setObjectName(QStringLiteral("Command3"));
    command3_->setGeometry(layout::kCommand3);
    command3_->setToolTip(QStringLiteral("Commande du chronomètre"));
    connect(command3_, &QPushButton::clicked, this, [this] { sim_.Command3_Click(); });
    sync();
}

void ChronometerControls::sync()
{
    const ControlsState& c = sim_.controls();
    if (label4_->text() != c.label4)
        label4_->setText(c.label4);
    if (command3_->text() != c.command3Caption())
        command3_->setText(c.command3Caption());
    if (command5_->isEnabled() != sim_.command5Enabled())
        command5_->setEnabled(sim_.command5Enabled());
}

}  // namespace tolvi
