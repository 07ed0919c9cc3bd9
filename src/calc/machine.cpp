#include "calc/machine.h"

#include "calc/key_names.h"
#include "calc/machine_background.h"

#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>

namespace tolvi {

namespace {

// Where each key stands. The digit block sits in the framed area of the
// background; the function keys above it; operators on its left; EXE, AC and
// backspace on its right.
QRect placeTouche(const QString& nom)
{
    static const std::map<QString, QRect> places = [] {
        std::map<QString, QRect> m;
        const char* prefixes[] = {"pico", "nano", "micro", "mil", "kilo", "mega", "giga", "tera"};
        for (int i = 0; i < 8; ++i)
            m[prefixes[i]] = QRect(10 + i * 35, 118, 33, 24);
        const char* rangees[3][6] = {
            {"bsin", "Bcos", "Btan", "Bln", "Blog", "Bexp"},
            {"invsin", "invcos", "Btoncommande3", "B10x", "racine", "Command5"},
            {"Bpo", "bpf", "pi", "btcarre", "puissance", "ANS"},
        };
        for (int r = 0; r < 3; ++r)
            for (int i = 0; i < 6; ++i)
                m[rangees[r][i]] = QRect(10 + i * 47, 150 + r * 30, 45, 27);
        const char* memoire[] = {"Command1", "Command2", "Command3", "Command4"};
        for (int i = 0; i < 4; ++i)
            m[memoire[i]] = QRect(10 + i * 71, 246, 69, 27);
        const char* bloc[4][3] = {{"B7", "B8", "B9"}, {"B4", "B5", "B6"}, {"B1", "B2", "B3"}, {"B0", "Bpoint", "BtoEXP"}};
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 3; ++c)
                m[bloc[r][c]] = QRect(86 + c * 40, 294 + r * 31, 37, 28);
        const char* operateurs[] = {"plus", "moins", "multip", "div"};
        for (int i = 0; i < 4; ++i)
            m[operateurs[i]] = QRect(12, 294 + i * 31, 62, 28);
        m["EXE"] = QRect(214, 294, 78, 59);
        m["RAZ"] = QRect(214, 356, 78, 28);
        m["EFFACE"] = QRect(214, 387, 78, 28);
        return m;
    }();
    const auto it = places.find(nom);
    return it == places.end() ? QRect() : it->second;
}

bool signeSymbole(const QString& legende)
{
    // π, ÷, √, ← and the picture keys are drawn with a font that has them.
    for (QChar c : legende)
        if (c.unicode() > 0xff)
            return true;
    return false;
}

// The room a key gives its caption, as the style lays the caption out.
QRect placeLegende(const QPushButton& bouton)
{
    QStyleOptionButton option;
    option.initFrom(&bouton);
    option.rect = bouton.rect();
    option.text = bouton.text();
    return bouton.style()->subElementRect(QStyle::SE_PushButtonContents, &option, &bouton);
}

// The size a caption is written at so that it fits its key: the key's own
// size, or half a point smaller at a time, never below 6 points.
qreal tailleLegende(const QPushButton& bouton)
{
    const QRect place = placeLegende(bouton);
    QFont police = bouton.font();
    for (;;) {
        const QSize taille = QFontMetrics(police).size(Qt::TextShowMnemonic, bouton.text());
        if ((taille.width() <= place.width() && taille.height() <= place.height()) || police.pointSizeF() <= 6.0)
            return police.pointSizeF();
        police.setPointSizeF(police.pointSizeF() - 0.5);
    }
}

// Long captions ("INV COS") are written smaller until they fit; keys of one
// width and one font keep one size between them, so a row of keys reads
// alike.
void ajusterLegendes(const std::map<QString, QPushButton*>& touches)
{
    std::map<std::pair<int, QString>, qreal> tailles;
    const auto famille = [](const QPushButton& b) {
        return std::pair(b.width(), b.font().toString());
    };
    for (const auto& [nom, bouton] : touches) {
        const auto cle = famille(*bouton);
        const qreal taille = tailleLegende(*bouton);
        const auto it = tailles.find(cle);
        if (it == tailles.end())
            tailles.emplace(cle, taille);
        else
            it->second = std::min(it->second, taille);
    }
    for (const auto& [nom, bouton] : touches) {
        const qreal taille = tailles.at(famille(*bouton));
        if (taille != bouton->font().pointSizeF()) {
            QFont police = bouton->font();
            police.setPointSizeF(taille);
            bouton->setFont(police);
        }
    }
}

// The width in pixels a line edit gives its text (frame, margins and the
// two free pixels on each side taken off).
int largeurTexteAffichage(const QLineEdit& affichage)
{
    QStyleOptionFrame option;
    option.initFrom(&affichage);
    option.rect = affichage.rect();
    option.lineWidth = affichage.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &affichage);
    const QRect contenu = affichage.style()->subElementRect(QStyle::SE_LineEditContents, &option, &affichage);
    const QMargins marges = affichage.textMargins();
    // The line edit keeps two pixels free on each side of its text.
    return contenu.width() - marges.left() - marges.right() - 2 * 2;
}

}  // namespace

Machine::Machine(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Machine à calculer"));
    setFixedSize(largeurMachine, hauteurMachine);
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));

    z1_ = new QLineEdit(this);
    z1_->setObjectName(QStringLiteral("z1"));
    z1_->setReadOnly(true);
    z1_->setGeometry(10, 10, 282, 30);
    policeAffichage_ = QFont(QStringLiteral("MS Sans Serif"), 12);
    z1_->setFont(policeAffichage_);
    z1_->installEventFilter(this);
    z1_->setAccessibleName(QStringLiteral("Affichage de la calculatrice"));
    z1_->setAccessibleDescription(
        QStringLiteral("Le calcul tapé, puis son résultat après Entrée ; les touches de fonction ont un raccourci "
                       "Alt, et les noms sqrt, sin, cos, tan, asin, acos, atan, ln, log, exp, pi se tapent"));

    auto* angles = new QGroupBox(QStringLiteral("Angles"), this);
    angles->setGeometry(10, 46, 136, 64);
    angle_[0] = new QRadioButton(QStringLiteral("Degrés"), angles);
    angle_[1] = new QRadioButton(QStringLiteral("Radians"), angles);
    auto* affichage = new QGroupBox(QStringLiteral("Affichage"), this);
    affichage->setGeometry(156, 46, 136, 64);
    c_[0] = new QRadioButton(QStringLiteral("Scientifique"), affichage);
    c_[1] = new QRadioButton(QStringLiteral("Standard"), affichage);
    for (int i = 0; i < 2; ++i) {
        angle_[i]->setObjectName(QStringLiteral("angle%1").arg(i));
        angle_[i]->setGeometry(10, 18 + i * 21, 116, 20);
        c_[i]->setObjectName(QStringLiteral("C%1").arg(i));
        c_[i]->setGeometry(10, 18 + i * 21, 116, 20);
        angle_[i]->installEventFilter(this);
        c_[i]->installEventFilter(this);
        connect(c_[i], &QRadioButton::clicked, this, [this, i] { C_Click(i); });
    }
    angle_[0]->setChecked(true);
    c_[1]->setChecked(true);

    for (const ToucheMachine& t : touchesMachine()) {
        auto* bouton = new QPushButton(t.legende, this);
        bouton->setObjectName(t.nom);
        bouton->setGeometry(placeTouche(t.nom));
        bouton->setAutoDefault(false);
        bouton->setDefault(false);
        // The function keys tell their keyboard ways in their hover texts.
        const QString infobulle = infobulleAvecClavier(t.nom, t.infobulle);
        if (!infobulle.isEmpty())
            bouton->setToolTip(infobulle);
        const AccesClavier clavier = accesClavier(t.nom);
        if (!clavier.raccourci.isEmpty())
            bouton->setShortcut(clavier.raccourci);
        // A screen reader says the key's name in words, not its caption's
        // symbol, and what the key does and how to reach it.
        const NomParle parle = nomParle(t.nom);
        bouton->setAccessibleName(parle.nom);
        const QString texteClavier = tolvi::texteClavier(t.nom);
        bouton->setAccessibleDescription(texteClavier.isEmpty() ? parle.description
                                                                : parle.description + QStringLiteral(" (") +
                                                                      texteClavier + QLatin1Char(')'));
        if (signeSymbole(t.legende))
            bouton->setFont(QFont(QStringLiteral("DejaVu Sans"), 10));
        if (t.nom == QLatin1String("EXE")) {
            QFont gras = font();
            gras.setBold(true);
            bouton->setFont(gras);
        }
        bouton->installEventFilter(this);
        const ToucheMachine* touche = &t;
        connect(bouton, &QPushButton::clicked, this, [this, touche] { touche_Click(*touche); });
        touches_[t.nom] = bouton;
    }

    ajusterLegendes(touches_);

    session_.bip = [] { QApplication::beep(); };
    z1_Change();
}

QPushButton* Machine::touche(const QString& nom) const
{
    const auto it = touches_.find(nom);
    return it == touches_.end() ? nullptr : it->second;
}

void Machine::touche_Click(const ToucheMachine& touche)
{
    // A name typed halfway is finished or cleared first: no key writes
    // after loose letters.
    if (touche.action != ActionTouche::Raz && touche.action != ActionTouche::Efface && !session_.finirMot()) {
        refuser();
        return;
    }
    if (touche.action == ActionTouche::Exe) {
        EXE_Click();
        return;
    }
    session_.appuyer(touche);
    z1_Change();
}

void Machine::refuser()
{
    if (session_.bip)
        session_.bip();
    z1_Change();
}

void Machine::EXE_Click()
{
    if (!session_.finirMot()) {
        refuser();
        return;
    }
    z1_->setText(textePatience());
    if (z1_->isVisible())
        z1_->repaint();
    session_.setRadians(angle_[1]->isChecked());
    session_.exe();
    z1_Change();
}

void Machine::C_Click(int index)
{
    session_.setScientific(index == 0);
    z1_Change();
}

void Machine::z1_Change()
{
    if (z1_->text() != session_.affichage())
        z1_->setText(session_.affichage());
    // A result or a message is read from its beginning: one wider than the
    // display (the operator error) is written smaller until it fits, and
    // shown from its first letter if it still does not. The expression
    // being typed keeps the display's size and shows its end, where the next
    // key writes.
    const bool resultat = session_.affichage() != session_.saisieMontree();
    QFont police = policeAffichage_;
    const int place = largeurTexteAffichage(*z1_);
    if (resultat)
        while (QFontMetrics(police).horizontalAdvance(z1_->text()) > place && police.pointSizeF() > 7.0)
            police.setPointSizeF(police.pointSizeF() - 0.5);
    if (z1_->font() != police)
        z1_->setFont(police);
    const bool tropLarge = QFontMetrics(police).horizontalAdvance(z1_->text()) > place;
    z1_->setFocus();
    z1_->setCursorPosition(resultat && tropLarge ? 0 : int(z1_->text().size()));
    z1_->update();
}

bool Machine::Form_KeyPress(QKeyEvent* event)
{
    const int key = event->key();
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        EXE_Click();
        return true;
    }
    if (key == Qt::Key_Backspace) {
        session_.efface();
        z1_Change();
        return true;
    }
    const QString texte = event->text();
    if (texte.size() != 1 || texte[0] == QLatin1Char('\r') || texte[0] == QLatin1Char('\b'))
        return false;
    const QChar c = texte[0];
    if (c.isLetter()) {
        // A function name is taken letter by letter; any other letter is
        // refused with a beep, as a wrong key is, never dropped silently.
        if (!session_.lettre(c)) {
            refuser();
            return true;
        }
        z1_Change();
        return true;
    }
    const QString calculatrice = QStringLiteral("0123456789.,()*+-/^");
    if (!calculatrice.contains(c))
        return false;
    if (!session_.finirMot()) {
        refuser();
        return true;
    }
    if (!session_.frappe(c))
        return false;
    z1_Change();
    return true;
}

void Machine::keyPressEvent(QKeyEvent* event)
{
    if (!Form_KeyPress(event))
        QDialog::keyPressEvent(event);
}

bool Machine::eventFilter(QObject* watched, QEvent* event)
{
    // Every control hands its keys to the form first, as z1_KeyPress does.
    if (event->type() == QEvent::KeyPress && Form_KeyPress(static_cast<QKeyEvent*>(event)))
        return true;
    return QDialog::eventFilter(watched, event);
}

void Machine::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    peindreFondMachine(p);
}

}  // namespace tolvi
