// The calculator window driven offscreen by clicks and key presses, as a
// pupil uses it.
#include "calc/machine.h"

#include "calc/evaluator.h"
#include "calc/machine_background.h"

#include <gtest/gtest.h>
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <set>

namespace tolvi {
namespace {

class Fenetre : public ::testing::Test {
protected:
    void SetUp() override
    {
        calculatriceCommune().memoire = 0.0;
        machine.session().bip = [this] { ++bips; };
    }
    void cliquer(std::initializer_list<const char*> noms)
    {
        for (const char* nom : noms) {
            QPushButton* b = machine.touche(QLatin1String(nom));
            ASSERT_NE(b, nullptr) << nom;
            b->click();
        }
    }
    void taper(QWidget* cible, int key, const QString& texte)
    {
        QKeyEvent appui(QEvent::KeyPress, key, Qt::NoModifier, texte);
        QApplication::sendEvent(cible, &appui);
    }
    QString z1() const { return machine.z1()->text(); }

    Machine machine;
    int bips = 0;
};

TEST_F(Fenetre, CaptionsAndTooltips)
{
    EXPECT_EQ(machine.windowTitle(), QStringLiteral("Machine à calculer"));
    for (const ToucheMachine& t : touchesMachine()) {
        QPushButton* b = machine.touche(t.nom);
        ASSERT_NE(b, nullptr) << t.nom.toStdString();
        EXPECT_EQ(b->text(), t.legende);
        // The key's own hover text, then its keyboard ways when it has some.
        EXPECT_TRUE(b->toolTip().startsWith(t.infobulle)) << t.nom.toStdString();
        // Every key lies inside the window and overlaps no other key.
        EXPECT_TRUE(machine.rect().contains(b->geometry())) << t.nom.toStdString();
        for (const ToucheMachine& u : touchesMachine())
            if (u.nom != t.nom) {
                EXPECT_FALSE(b->geometry().intersects(machine.touche(u.nom)->geometry()))
                    << t.nom.toStdString() << " / " << u.nom.toStdString();
            }
    }
    EXPECT_EQ(machine.touche("Command1")->toolTip(), QStringLiteral("Ajouter à la méoire"));
    EXPECT_EQ(machine.angle(0)->text(), QStringLiteral("Degrés"));
    EXPECT_EQ(machine.angle(1)->text(), QStringLiteral("Radians"));
    EXPECT_EQ(machine.C(0)->text(), QStringLiteral("Scientifique"));
    EXPECT_EQ(machine.C(1)->text(), QStringLiteral("Standard"));
    EXPECT_TRUE(machine.angle(0)->isChecked());
    EXPECT_TRUE(machine.C(1)->isChecked());
    EXPECT_TRUE(machine.z1()->isReadOnly());
}

TEST_F(Fenetre, ScreenReadersSayEachKeyInWordsAndWhatItDoes)
{
    std::set<QString> noms;
    for (const ToucheMachine& t : touchesMachine()) {
        const std::string qui = t.nom.toStdString();
        QPushButton* b = machine.touche(t.nom);
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(b);
        ASSERT_NE(a, nullptr) << qui;
        EXPECT_EQ(a->role(), QAccessible::PushButton) << qui;
        const QString nom = a->text(QAccessible::Name);
        // Words only: no symbol, digit or shortcut mark for the voice to
        // spell out, and every key its own name.
        EXPECT_FALSE(nom.isEmpty()) << qui;
        for (QChar c : nom)
            EXPECT_TRUE(c.isLetter() || c == QLatin1Char(' ') || c == QLatin1Char('\''))
                << qui << " : " << nom.toStdString();
        EXPECT_TRUE(noms.insert(nom).second) << "two keys named " << nom.toStdString();
        const QString description = a->text(QAccessible::Description);
        EXPECT_FALSE(description.isEmpty()) << qui;
        EXPECT_NE(description, nom) << qui;
        // The key still shows and shortcuts its own caption.
        EXPECT_EQ(b->text(), t.legende) << qui;
        EXPECT_TRUE(b->toolTip().startsWith(t.infobulle)) << qui;
    }
    const auto nomDe = [this](const char* touche) {
        return QAccessible::queryAccessibleInterface(machine.touche(QLatin1String(touche)))->text(QAccessible::Name);
    };
    EXPECT_EQ(nomDe("racine"), QStringLiteral("racine carrée"));
    EXPECT_EQ(nomDe("bsin"), QStringLiteral("sinus"));
    EXPECT_EQ(nomDe("puissance"), QStringLiteral("puissance"));
    EXPECT_EQ(nomDe("div"), QStringLiteral("divisé par"));
    EXPECT_EQ(nomDe("EFFACE"), QStringLiteral("effacer"));
    EXPECT_EQ(nomDe("EXE"), QStringLiteral("égal"));
    EXPECT_EQ(nomDe("B7"), QStringLiteral("sept"));

    // A screen reader's press works the key as a click does (the button
    // shows itself pressed for a moment first).
    const std::pair<const char*, const char*> presses[] = {
        {"racine", "SQR "}, {"B8", "SQR 8"}, {"B1", "SQR 81"}, {"EXE", " 9"}};
    for (const auto& [touche, affiche] : presses) {
        QAccessibleActionInterface* action =
            QAccessible::queryAccessibleInterface(machine.touche(QLatin1String(touche)))->actionInterface();
        ASSERT_NE(action, nullptr) << touche;
        action->doAction(QAccessibleActionInterface::pressAction());
        EXPECT_TRUE(QTest::qWaitFor([&] { return z1() == QLatin1String(affiche); }, 2000))
            << touche << " : " << z1().toStdString();
    }
}

TEST_F(Fenetre, ClicksBuildTheExpressionAndExeShowsTheResult)
{
    cliquer({"B2", "bsin", "B3", "B0"});
    EXPECT_EQ(z1(), QStringLiteral("2 * sin 30"));
    cliquer({"EXE"});
    EXPECT_EQ(z1(), QStringLiteral(" 1"));
    cliquer({"plus", "B3"});
    EXPECT_EQ(z1(), QStringLiteral("1 + 3"));
    cliquer({"EFFACE", "EFFACE"});
    EXPECT_EQ(z1(), QStringLiteral("1"));
    cliquer({"RAZ"});
    EXPECT_EQ(z1(), QString());
    cliquer({"B2", "kilo", "EXE"});
    EXPECT_EQ(z1(), QStringLiteral(" 2000"));
    EXPECT_EQ(bips, 0);
}

TEST_F(Fenetre, AnglesAreReadAtEachCalculation)
{
    machine.angle(1)->click();
    cliquer({"bsin", "B3", "B0", "EXE"});
    EXPECT_EQ(z1(), QStringLiteral("-.988031624092862"));
    machine.angle(0)->click();
    cliquer({"bsin", "B3", "B0", "EXE"});
    EXPECT_EQ(z1(), QStringLiteral(" .5"));
}

TEST_F(Fenetre, FailureBeepsAndAnsAddsNothing)
{
    cliquer({"B5", "div", "B0", "EXE"});
    EXPECT_EQ(z1(), QStringLiteral("Calcul impossible"));
    EXPECT_EQ(bips, 1);
    cliquer({"ANS"});
    EXPECT_EQ(z1(), QStringLiteral("5 / 0"));
    cliquer({"B1"});
    EXPECT_EQ(z1(), QStringLiteral("5 / 01"));
}

TEST_F(Fenetre, MemoryAcrossWindows)
{
    cliquer({"B5", "EXE", "Command1", "Command1", "RAZ", "Command3"});
    EXPECT_EQ(z1(), QStringLiteral("10"));
    Machine autre;
    autre.touche("Command3")->click();
    EXPECT_EQ(autre.z1()->text(), QStringLiteral("10"));
}

TEST_F(Fenetre, DisplayModeSwitch)
{
    cliquer({"B1", "B2", "B3", "B4", "EXE"});
    machine.C(0)->click();
    EXPECT_EQ(z1(), QStringLiteral("1.234E+03"));
    machine.C(1)->click();
    EXPECT_EQ(z1(), QStringLiteral(" 1234"));
}

TEST_F(Fenetre, KeyboardGoesToTheForm)
{
    // Keys typed on the display or on any key button build the expression.
    taper(machine.z1(), Qt::Key_2, QStringLiteral("2"));
    taper(machine.touche("B7"), Qt::Key_Plus, QStringLiteral("+"));
    taper(machine.C(0), Qt::Key_3, QStringLiteral("3"));
    taper(machine.z1(), Qt::Key_E, QStringLiteral("e"));
    taper(machine.z1(), Qt::Key_A, QStringLiteral("a"));  // refused with a beep
    EXPECT_EQ(z1(), QStringLiteral("2 + 3E"));
    EXPECT_EQ(bips, 1);
    taper(machine.z1(), Qt::Key_Backspace, QStringLiteral("\b"));
    EXPECT_EQ(z1(), QStringLiteral("2 + 3"));
    taper(machine.touche("EXE"), Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_EQ(z1(), QStringLiteral(" 5"));
    EXPECT_EQ(machine.result(), 0);  // Enter computes; it does not accept the dialog
}

// Function names typed on the keyboard write the function as its key does;
// nothing typed is ever dropped without a beep.
TEST_F(Fenetre, TypedFunctionNamesWriteTheirFunctionAndOtherLettersAreRefused)
{
    const auto saisir = [this](const QString& texte) {
        for (QChar c : texte)
            taper(machine.z1(), c == QLatin1Char('\r') ? int(Qt::Key_Return) : 0, QString(c));
    };
    const std::pair<const char*, const char*> calculs[] = {
        {"2*sqrt(9)", " 6"},       {"rac(16)", " 4"},     {"sin(30)", " .5"},    {"COS(60)", " .5"},
        {"tan(45)", " 1"},         {"asin(1)", " 90"},    {"acos(1)", " 0"},     {"atan(1)", " 45"},
        {"ln(1)", " 0"},           {"log(1000)", " 3"},   {"exp(0)", " 1"},      {"2pi", " 6.28318530717958"},
        {"1e3+1", " 1001"},        {"2E-1", " .2"},       {"3d2", " 300"},       {"exp(1)", " 2.71828182845905"},
    };
    for (const auto& [tape, resultat] : calculs) {
        cliquer({"RAZ"});
        saisir(QString::fromLatin1(tape) + QLatin1Char('\r'));
        EXPECT_EQ(z1(), QLatin1String(resultat)) << tape;
    }
    EXPECT_EQ(bips, 0);

    // The name is written as its key writes it.
    cliquer({"RAZ"});
    saisir(QStringLiteral("2sqrt"));
    EXPECT_EQ(z1(), QStringLiteral("2 * SQR "));

    // A letter that starts no name: a beep, nothing written.
    cliquer({"RAZ"});
    saisir(QStringLiteral("2*q"));
    EXPECT_EQ(z1(), QStringLiteral("2 * "));
    EXPECT_EQ(bips, 1);
    // A name left halfway blocks the other keys (a beep each) until it is
    // finished or rubbed out: "2*sq(9)" never gives 2 * (9).
    saisir(QStringLiteral("sq(9"));
    EXPECT_EQ(z1(), QStringLiteral("2 * sq"));
    EXPECT_EQ(bips, 3);
    cliquer({"EXE"});
    EXPECT_EQ(z1(), QStringLiteral("2 * sq"));
    EXPECT_EQ(bips, 4);
    taper(machine.z1(), Qt::Key_Backspace, QStringLiteral("\b"));
    EXPECT_EQ(z1(), QStringLiteral("2 * s"));
    saisir(QStringLiteral("in"));
    EXPECT_EQ(z1(), QStringLiteral("2 * sin "));
    cliquer({"RAZ"});
    saisir(QStringLiteral("lo"));
    cliquer({"B1"});
    EXPECT_EQ(z1(), QStringLiteral("lo"));
    EXPECT_EQ(bips, 5);
    cliquer({"RAZ"});
    EXPECT_EQ(z1(), QString());
}

TEST_F(Fenetre, FunctionKeysHaveShortcutsShownInTheirHoverTexts)
{
    machine.show();
    machine.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&machine));
    // Every function key (the 6 x 3 block but the parentheses) can be
    // reached without 34 Tabs.
    for (const char* nom : {"bsin", "Bcos", "Btan", "Bln", "Blog", "Bexp", "invsin", "invcos", "Btoncommande3",
                            "B10x", "racine", "Command5", "pi", "btcarre", "puissance", "ANS"}) {
        QPushButton* b = machine.touche(QLatin1String(nom));
        const QKeySequence raccourci = b->shortcut();
        ASSERT_FALSE(raccourci.isEmpty()) << nom;
        EXPECT_TRUE(b->toolTip().contains(raccourci.toString(QKeySequence::PortableText))) << nom;
        const QString description =
            QAccessible::queryAccessibleInterface(b)->text(QAccessible::Description);
        EXPECT_TRUE(description.contains(raccourci.toString(QKeySequence::PortableText))) << nom;
    }
    EXPECT_EQ(machine.touche("racine")->toolTip(), QStringLiteral("Racine carré (Alt+R ; au clavier : sqrt ou rac)"));
    EXPECT_EQ(machine.touche("Bln")->toolTip(), QStringLiteral("Logarithme népérien (Alt+N ; au clavier : ln)"));
    // A shortcut presses the key as a click does (shown pressed a moment).
    QTest::keyClick(machine.z1(), Qt::Key_R, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([this] { return z1() == QLatin1String("SQR "); }, 2000)) << z1().toStdString();
    QTest::keyClick(machine.z1(), Qt::Key_9);
    EXPECT_EQ(z1(), QStringLiteral("SQR 9"));
    QTest::keyClick(machine.z1(), Qt::Key_Return);
    EXPECT_EQ(z1(), QStringLiteral(" 3"));
    // The display is named too.
    EXPECT_EQ(QAccessible::queryAccessibleInterface(machine.z1())->text(QAccessible::Name),
              QStringLiteral("Affichage de la calculatrice"));
}

TEST_F(Fenetre, DecimalCommaFromTheKeyboard)
{
    for (QChar ch : QStringLiteral("4/1,33"))
        taper(machine.z1(), 0, QString(ch));
    EXPECT_EQ(z1(), QStringLiteral("4 / 1.33"));
    taper(machine.z1(), Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_EQ(z1(), QStringLiteral(" 3.00751879699248"));
    // The keypad's separator on a French keyboard.
    QKeyEvent virgule(QEvent::KeyPress, Qt::Key_Comma, Qt::KeypadModifier, QStringLiteral(","));
    taper(machine.z1(), Qt::Key_2, QStringLiteral("2"));
    QApplication::sendEvent(machine.z1(), &virgule);
    taper(machine.z1(), Qt::Key_5, QStringLiteral("5"));
    EXPECT_EQ(z1(), QStringLiteral("2.5"));
}

TEST_F(Fenetre, TopOfTheDoubleRangeIsNotZero)
{
    for (QChar ch : QStringLiteral("1.7976931348623157e308\r"))
        taper(machine.z1(), ch == QLatin1Char('\r') ? int(Qt::Key_Return) : 0, QString(ch));
    EXPECT_EQ(z1(), QStringLiteral("Dépassement de capacité"));
    EXPECT_EQ(bips, 1);
    cliquer({"ANS"});
    EXPECT_EQ(z1(), QString());
}

// How wide a text is in the display's font, against the room the display
// gives it.
bool tientDansAffichage(const QLineEdit& z1)
{
    QStyleOptionFrame option;
    option.initFrom(&z1);
    option.rect = z1.rect();
    option.lineWidth = z1.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &z1);
    const QRect contenu = z1.style()->subElementRect(QStyle::SE_LineEditContents, &option, &z1);
    // The line edit keeps two pixels free on each side of its text.
    return QFontMetrics(z1.font()).horizontalAdvance(z1.text()) <= contenu.width() - 4;
}

TEST_F(Fenetre, EveryMessageIsReadFromItsBeginning)
{
    // Each failure message is shown whole, its text unchanged.
    struct Cas { std::initializer_list<const char*> touches; qint16 code; };
    const Cas cas[] = {
        {{"B2", "multip", "div", "B3", "EXE"}, erreurOperateurs},
        {{"Bpo", "B2", "EXE"}, erreurParentheses},
        {{"B5", "div", "B0", "EXE"}, calculImpossible},
    };
    for (const Cas& c : cas) {
        cliquer({"RAZ"});
        cliquer(c.touches);
        EXPECT_EQ(z1(), messageErreur(c.code));
        EXPECT_TRUE(tientDansAffichage(*machine.z1())) << z1().toStdString();
        EXPECT_EQ(machine.z1()->selectedText(), QString());
    }
    // The operator error is wider than the display at its usual size: it
    // is written smaller, and the next key brings the usual size back with
    // the expression, shown up to its end.
    const QFont usuelle = machine.z1()->font();
    cliquer({"RAZ", "B2", "multip", "div", "B3", "EXE"});
    EXPECT_LT(machine.z1()->font().pointSizeF(), usuelle.pointSizeF());
    EXPECT_GE(machine.z1()->font().pointSizeF(), 7.0);
    cliquer({"B4"});
    EXPECT_EQ(z1(), QStringLiteral("2 *  / 34"));
    EXPECT_EQ(machine.z1()->font(), usuelle);
    EXPECT_EQ(machine.z1()->cursorPosition(), z1().size());

    // A long expression keeps the usual size and the caret at its end.
    cliquer({"RAZ"});
    for (int i = 0; i < 12; ++i)
        cliquer({"B1", "B2", "plus"});
    EXPECT_FALSE(tientDansAffichage(*machine.z1()));
    EXPECT_EQ(machine.z1()->font(), usuelle);
    EXPECT_EQ(machine.z1()->cursorPosition(), z1().size());
}

TEST_F(Fenetre, EveryKeyCaptionFitsItsKey)
{
    // Measured with the key's own font inside the room the style leaves for
    // the caption ("&" marks the shortcut letter and takes no room).
    for (const ToucheMachine& t : touchesMachine()) {
        const QPushButton* b = machine.touche(t.nom);
        ASSERT_NE(b, nullptr);
        QStyleOptionButton option;
        option.initFrom(b);
        option.rect = b->rect();
        option.text = b->text();
        const QRect place = b->style()->subElementRect(QStyle::SE_PushButtonContents, &option, b);
        const QSize legende = QFontMetrics(b->font()).size(Qt::TextShowMnemonic, b->text());
        EXPECT_LE(legende.width(), place.width()) << t.nom.toStdString();
        EXPECT_LE(legende.height(), place.height()) << t.nom.toStdString();
        EXPECT_GE(b->font().pointSizeF(), 6.0) << t.nom.toStdString();
    }
    // Keys with short captions keep the window's size; a row of function
    // keys keeps one size.
    EXPECT_EQ(machine.touche("B7")->font().pointSizeF(), machine.font().pointSizeF());
    EXPECT_EQ(machine.touche("Command1")->font().pointSizeF(), machine.font().pointSizeF());
    EXPECT_EQ(machine.touche("invsin")->font(), machine.touche("invcos")->font());
    EXPECT_EQ(machine.touche("bsin")->font(), machine.touche("invcos")->font());
}

TEST_F(Fenetre, ShownModallyAndClosed)
{
    Machine modale(nullptr);
    QTimer::singleShot(0, &modale, [&modale] {
        modale.touche("B4")->click();
        modale.touche("EXE")->click();
        modale.reject();
    });
    modale.exec();
    EXPECT_EQ(modale.z1()->text(), QStringLiteral(" 4"));
}

QRgb teinte(int c) { return qRgb(c, c + 50, c + 50); }

TEST(FondMachine, GradientBorderAndKeyBlockFrame)
{
    QImage image(largeurMachine, hauteurMachine, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    {
        QPainter p(&image);
        peindreFondMachine(p);
    }
    // c = 200 - x / 2 rounded ties to even: column 5 gives 198 (not 197),
    // column 301 gives 50 (150.5 rounds to 150).
    EXPECT_EQ(image.pixel(0, 200), teinte(200));
    EXPECT_EQ(image.pixel(5, 200), teinte(198));
    EXPECT_EQ(image.pixel(7, 200), teinte(196));
    EXPECT_EQ(image.pixel(150, 100), teinte(125));
    EXPECT_EQ(image.pixel(301, 430), teinte(50));
    for (int x = 2; x <= 298; x += 37)
        EXPECT_EQ(image.pixel(x, 0), teinte(200 - int(std::nearbyint(x / 2.0))));
    // Bevelled border: black top and left, white right and bottom.
    EXPECT_EQ(image.pixel(150, 1), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(1, 200), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(299, 200), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(150, 428), qRgb(255, 255, 255));
    // Key block: dark cyan frame, white one a pixel lower and further right.
    EXPECT_EQ(image.pixel(81, 350), qRgb(0, 128, 128));
    EXPECT_EQ(image.pixel(150, 289), qRgb(0, 128, 128));
    EXPECT_EQ(image.pixel(206, 350), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(150, 421), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(150, 350), teinte(125));  // inside the block: the gradient
}

TEST_F(Fenetre, PaintsItsBackground)
{
    const QImage image = machine.grab().toImage();
    EXPECT_EQ(image.pixel(5, 5), teinte(198));
    EXPECT_EQ(image.pixel(300, 200), teinte(50));
}

}  // namespace
}  // namespace tolvi
