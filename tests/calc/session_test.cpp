// The calculator's keys, EXE, the display modes and the memory, driven
// through CalculatorSession as the window and the batch option drive them.
#include "calc/calculator_session.h"

#include "calc/evaluator.h"

#include <gtest/gtest.h>
#include <QSet>
#include <QStringList>
#include <optional>

namespace tolvi {
namespace {

// Presses keys by control name.
void presser(CalculatorSession& s, const QStringList& noms)
{
    for (const QString& nom : noms) {
        const ToucheMachine* t = toucheMachine(nom);
        ASSERT_NE(t, nullptr) << nom.toStdString();
        s.appuyer(*t);
    }
}

class Session : public ::testing::Test {
protected:
    void SetUp() override
    {
        calculatriceCommune().memoire = 0.0;
        session.bip = [this] { ++bips; };
    }
    CalculatorSession session;
    int bips = 0;
};

TEST_F(Session, KeysBuildTheExpression)
{
    struct Cas { QStringList touches; const char16_t* saisie; };
    const Cas cas[] = {
        {{"B2", "bsin", "B3", "B0"}, u"2 * sin 30"},
        {{"moins"}, u"-"},
        {{"Bpo", "moins"}, u"(-"},
        {{"B5", "BtoEXP", "moins"}, u"5E-"},
        {{"B5", "moins"}, u"5 - "},
        {{"B5", "moins", "moins"}, u"5 - -"},
        {{"moins", "moins"}, u"- -"},
        {{"B2", "kilo"}, u"2E+3"},
        {{"B5", "BtoEXP", "plus", "B3"}, u"5E+3"},
        {{"B2", "Bpo"}, u"2 * ("},
        {{"B2", "pi"}, u"2 * 3.14159265358979"},
        {{"Bpo", "bsin"}, u"(sin "},
        {{"B3", "B10x"}, u"3 * 10 ^ "},
        {{"B3", "btcarre"}, u"3 ^ 2"},
        {{"B4", "Command5"}, u"4 * 1 / "},
        {{"bpf", "Blog"}, u") * log "},
        {{"invsin", "B1"}, u"invSIN 1"},
        {{"Btoncommande3"}, u"invTAN "},
        {{"racine", "B9"}, u"SQR 9"},
        {{"B1", "micro", "plus", "B1", "mil"}, u"1E-6 + 1E-3"},
        {{"B7", "pico", "nano", "giga", "tera", "mega"}, u"7E-12E-9E+9E+12E+6"},
        // The operators need something on show; on an empty start they do nothing.
        {{"plus"}, u""},
        {{"multip"}, u""},
        {{"div"}, u""},
        {{"B6", "multip", "B2", "div", "B3"}, u"6 * 2 / 3"},
    };
    for (const Cas& c : cas) {
        CalculatorSession s;
        presser(s, c.touches);
        EXPECT_EQ(s.saisie(), QString::fromUtf16(c.saisie)) << c.touches.join(' ').toStdString();
        EXPECT_EQ(s.affichage(), s.saisie());
    }
}

TEST_F(Session, BackspaceRemovesTheLastKeysText)
{
    struct Cas { QStringList touches; const char16_t* saisie; };
    const Cas cas[] = {
        {{"B3", "plus", "EFFACE"}, u"3"},
        {{"Bcos", "EFFACE"}, u""},
        {{"B1", "B2", "EFFACE"}, u"1"},
        {{"B2", "bsin", "EFFACE"}, u"2 * "},
        {{"Bpo", "Blog", "EFFACE"}, u"("},
        {{"invsin", "EFFACE"}, u""},
        {{"B3", "B10x", "EFFACE"}, u"3 * 10"},
        {{"B2", "kilo", "EFFACE"}, u"2E+"},
        {{"EFFACE"}, u""},
        {{"B5", "moins", "EFFACE", "EFFACE"}, u""},
    };
    for (const Cas& c : cas) {
        CalculatorSession s;
        presser(s, c.touches);
        EXPECT_EQ(s.saisie(), QString::fromUtf16(c.saisie)) << c.touches.join(' ').toStdString();
    }
}

TEST_F(Session, ExeShowsTheResultAndEmptiesTheExpression)
{
    presser(session, {"B2", "bsin", "B3", "B0", "EXE"});
    EXPECT_EQ(session.affichage(), QStringLiteral(" 1"));
    EXPECT_EQ(session.saisie(), QString());
    EXPECT_EQ(session.derniereReponse(), QStringLiteral(" 1"));

    presser(session, {"B2", "kilo", "EXE"});
    EXPECT_EQ(session.affichage(), QStringLiteral(" 2000"));

    // The next operator key continues from the last answer.
    presser(session, {"RAZ", "B2", "plus", "B3", "multip", "B4", "EXE"});
    EXPECT_EQ(session.affichage(), QStringLiteral(" 14"));
    presser(session, {"plus", "B3"});
    EXPECT_EQ(session.saisie(), QStringLiteral("14 + 3"));
    presser(session, {"EXE", "puissance", "B2", "EXE"});
    EXPECT_EQ(session.affichage(), QStringLiteral(" 289"));
    presser(session, {"btcarre", "EXE"});
    EXPECT_EQ(session.affichage(), QStringLiteral(" 83521"));
    presser(session, {"moins", "B1", "EXE"});  // "-" is a sign, not an operator on the answer
    EXPECT_EQ(session.affichage(), QStringLiteral("-1"));
    EXPECT_EQ(bips, 0);
}

TEST_F(Session, ExeOnEmptyExpressionShowsZero)
{
    presser(session, {"EXE", "EXE"});
    EXPECT_EQ(session.affichage(), QStringLiteral(" 0"));
    EXPECT_EQ(session.derniereReponse(), QStringLiteral(" 0"));
    EXPECT_EQ(session.erreurCalcul(), 0);
}

TEST_F(Session, FailuresAreShownWithABeepAndKeepTheExpression)
{
    struct Cas { QStringList touches; const char16_t* message; const char16_t* saisie; };
    const Cas cas[] = {
        {{"B5", "div", "B0"}, u"Calcul impossible", u"5 / 0"},
        {{"Bpo", "B2", "plus", "B3"}, u"Erreur saisie: revoir les parenthèses", u"(2 + 3"},
        {{"B2", "multip", "div", "B3"}, u"Erreur saisie: incompréhension sur opérateurs: ^ * / + -", u"2 *  / 3"},
        {{"racine", "moins", "B4"}, u"Calcul impossible", u"SQR -4"},
    };
    for (const Cas& c : cas) {
        CalculatorSession s;
        int b = 0;
        s.bip = [&b] { ++b; };
        presser(s, c.touches);
        presser(s, {"EXE"});
        EXPECT_EQ(s.affichage(), QString::fromUtf16(c.message)) << c.touches.join(' ').toStdString();
        EXPECT_EQ(s.derniereReponse(), s.affichage());
        EXPECT_EQ(s.saisie(), QString::fromUtf16(c.saisie));
        EXPECT_EQ(b, 1);
        // ANS appends nothing after a failure, but shows the expression again.
        presser(s, {"ANS"});
        EXPECT_EQ(s.affichage(), QString::fromUtf16(c.saisie));
        // The next key adds to the failed expression.
        presser(s, {"B1"});
        EXPECT_EQ(s.affichage(), QString::fromUtf16(c.saisie) + QLatin1Char('1'));
    }
}

TEST_F(Session, AfterAFailureTheNextSuccessMakesTheAnswerAvailableAgain)
{
    presser(session, {"B5", "div", "B0", "EXE"});
    presser(session, {"EFFACE", "B2", "EXE"});
    EXPECT_EQ(session.affichage(), QStringLiteral(" 2.5"));
    presser(session, {"ANS", "multip", "B2", "EXE"});
    EXPECT_EQ(session.affichage(), QStringLiteral(" 5"));
}

TEST_F(Session, OverflowOfTheResultIsShownAsSuch)
{
    // A lone number beyond the double range passes the evaluator, but cannot
    // be read back.
    presser(session, {"B1", "BtoEXP", "B4", "B0", "B0", "EXE"});
    EXPECT_EQ(session.affichage(), QStringLiteral("Dépassement de capacité"));
    EXPECT_EQ(session.saisie(), QString());
    EXPECT_EQ(bips, 1);
    presser(session, {"ANS"});
    EXPECT_EQ(session.saisie(), QString());  // no last answer
    // The message stays when the display mode changes.
    session.setScientific(true);
    EXPECT_EQ(session.affichage(), QStringLiteral(""));  // ANS showed the empty expression
    presser(session, {"B1", "BtoEXP", "B4", "B0", "B0", "EXE"});
    session.setScientific(false);
    EXPECT_EQ(session.affichage(), QStringLiteral("Dépassement de capacité"));
    EXPECT_EQ(bips, 2);
}

TEST_F(Session, TopOfTheDoubleRangeIsNeverShownAsZero)
{
    // The largest double passes the evaluator as it is, but its 15-digit text
    // 1.79769313486232E+308 is beyond the range: the display says so, in
    // either mode, and it never becomes a last answer of 0.
    for (bool scientifique : {false, true}) {
        CalculatorSession s;
        s.setScientific(scientifique);
        for (const char16_t* typed : {u"1.7976931348623157e308", u"-1.7976931348623157e308",
                                      u"1.7976931348623157e308*1", u"1.79769313486232e308"}) {
            EXPECT_EQ(s.evaluate(QString::fromUtf16(typed)), texteDepassement())
                << QString::fromUtf16(typed).toStdString() << " scientifique " << scientifique;
            EXPECT_NE(s.erreurCalcul(), calculReussi);
            s.ans();
            EXPECT_EQ(s.saisie(), QString());
            s.raz();
        }
        // The largest double whose 15-digit text stays in range is shown.
        const QString juste = s.evaluate(QStringLiteral("1.79769313486231e308"));
        EXPECT_EQ(juste, scientifique ? QStringLiteral("1.7976931E+308") : QStringLiteral(" 1.79769313486231E+308"));
        EXPECT_EQ(s.erreurCalcul(), calculReussi);
        // Switching the display mode with the overflow on show keeps it.
        s.evaluate(QStringLiteral("1.7976931348623157e308"));
        s.setScientific(!scientifique);
        EXPECT_EQ(s.affichage(), texteDepassement());
    }
    EXPECT_EQ(relireResultat(u"1.7976931348623157E308"), std::nullopt);
    EXPECT_EQ(relireResultat(u"12"), std::optional<double>(12.0));
}

TEST_F(Session, DecimalCommaIsTheDecimalPoint)
{
    // From the keyboard and on the command line alike, "," is read as ".":
    // 4/1,33 is 4/1.33, never 4/133.
    for (QChar ch : QStringLiteral("4/1,33"))
        EXPECT_TRUE(session.frappe(ch));
    EXPECT_EQ(session.saisie(), QStringLiteral("4 / 1.33"));
    session.exe();
    EXPECT_EQ(session.affichage(), QStringLiteral(" 3.00751879699248"));
    EXPECT_EQ(session.evaluate(QStringLiteral("4/1,33")), QStringLiteral(" 3.00751879699248"));
    EXPECT_EQ(session.evaluate(QStringLiteral(",5+1,25")), QStringLiteral(" 1.75"));
    // Two decimal marks are no number, whichever is typed.
    EXPECT_EQ(session.evaluate(QStringLiteral("1,2,3")), messageErreur(calculImpossible));
    EXPECT_EQ(session.evaluate(QStringLiteral("1.2,3")), messageErreur(calculImpossible));
}

TEST_F(Session, DisplayModeSwitchShowsTheResultAgain)
{
    presser(session, {"B1", "B2", "B3", "B4", "EXE"});
    session.setScientific(true);
    EXPECT_EQ(session.affichage(), QStringLiteral("1.234E+03"));
    session.setScientific(false);
    EXPECT_EQ(session.affichage(), QStringLiteral(" 1234"));

    // While an expression is typed, the switch only affects the next result.
    presser(session, {"B1", "B2", "B3", "B4", "B5"});
    session.setScientific(true);
    EXPECT_EQ(session.affichage(), QStringLiteral("12345"));
    presser(session, {"EXE"});
    EXPECT_EQ(session.affichage(), QStringLiteral("1.2345E+04"));
    // The scientific answer is reused as a number.
    presser(session, {"multip", "B2", "EXE"});
    EXPECT_EQ(session.affichage(), QStringLiteral("2.469E+04"));
}

TEST_F(Session, MemoryKeys)
{
    presser(session, {"B5", "EXE", "Command1", "Command1", "RAZ", "Command3"});
    EXPECT_EQ(session.saisie(), QStringLiteral("10"));
    EXPECT_DOUBLE_EQ(session.memoire(), 10.0);
    presser(session, {"EXE", "B3", "EXE", "Command2", "RAZ", "Command3"});
    EXPECT_EQ(session.saisie(), QStringLiteral("7"));
    // RM adds no " * " after a number.
    presser(session, {"RAZ", "B2", "Command3"});
    EXPECT_EQ(session.saisie(), QStringLiteral("27"));
    presser(session, {"Command4", "RAZ", "Command3"});
    EXPECT_EQ(session.saisie(), QStringLiteral("0"));
    // M+ reads the display as a number: a failure message reads as 0.
    presser(session, {"RAZ", "B5", "div", "B0", "EXE", "Command1"});
    EXPECT_DOUBLE_EQ(session.memoire(), 0.0);
    // The Scientifique display recalls the memory in its own pattern.
    calculatriceCommune().memoire = 0.5;
    session.setScientific(true);
    presser(session, {"RAZ", "Command3"});
    EXPECT_EQ(session.saisie(), QStringLiteral("5.E-01"));
}

TEST_F(Session, MemoryOutlivesTheSession)
{
    {
        CalculatorSession premiere;
        presser(premiere, {"B4", "EXE", "Command1"});
    }
    CalculatorSession seconde;
    presser(seconde, {"Command3"});
    EXPECT_EQ(seconde.saisie(), QStringLiteral("4"));
}

TEST_F(Session, KeyboardTable)
{
    struct Cas { const char16_t* frappes; const char16_t* saisie; };
    const Cas cas[] = {
        {u"12.5", u"12.5"},
        {u"1e3", u"1E3"},
        {u"1d3", u"1E3"},
        {u"2(3)", u"2 * (3)"},
        {u"2*3", u"2 * 3"},
        {u"2/3", u"2 / 3"},
        {u"2^3", u"2 ^ 3"},
        {u"2+3", u"2 + 3"},
        {u"2-3", u"2 - 3"},
        {u"1e+3", u"1E+3"},
        {u"12\b", u"1"},
        {u"abc", u""},      // ignored
    };
    for (const Cas& c : cas) {
        CalculatorSession s;
        for (QChar ch : QString::fromUtf16(c.frappes))
            s.frappe(ch);
        EXPECT_EQ(s.saisie(), QString::fromUtf16(c.saisie)) << QString::fromUtf16(c.frappes).toStdString();
    }
    EXPECT_FALSE(session.frappe(QLatin1Char('x')));
    EXPECT_TRUE(session.frappe(QLatin1Char('7')));
    EXPECT_TRUE(session.frappe(QChar(13)));
    EXPECT_EQ(session.affichage(), QStringLiteral(" 7"));
}

TEST_F(Session, EvaluateForTheCommandLine)
{
    struct Cas { const char16_t* typed; bool radians; bool scientifique; const char16_t* affiche; };
    const Cas cas[] = {
        {u"2+3*4", false, false, u" 14"},
        {u"+1", false, false, u" 15"},          // the last answer is pulled in
        {u"*2", false, false, u" 30"},
        {u"2 * sin 30", false, false, u" 1"},
        {u"sin 30", true, false, u"-.988031624092862"},
        {u"12345", false, true, u"1.2345E+04"},
        {u"5/0", false, false, u"Calcul impossible"},
        {u"+1", false, false, u" 1"},           // no last answer after a failure
        {u"(2+3", false, false, u"Erreur saisie: revoir les parenthèses"},
        {u"2*/3", false, false, u"Erreur saisie: incompréhension sur opérateurs: ^ * / + -"},
        {u"", false, false, u" 0"},
        {u"2k", false, false, u"Calcul impossible"},  // written as it is: 2K is no number
        {u"2(3)", false, false, u" 6"},         // "(" after a number adds " * " as the key does
        {u"invSIN 1", false, false, u" 90"},
        {u"-2^2", false, false, u" 4"},
        {u"1E400", false, false, u"Dépassement de capacité"},
    };
    CalculatorSession s;
    for (const Cas& c : cas) {
        s.setRadians(c.radians);
        s.setScientific(c.scientifique);
        EXPECT_EQ(s.evaluate(QString::fromUtf16(c.typed)), QString::fromUtf16(c.affiche))
            << QString::fromUtf16(c.typed).toStdString();
    }
}

TEST_F(Session, EveryKeyOfTheTablesExistsOnce)
{
    QStringList noms;
    for (const ToucheMachine& t : touchesMachine())
        noms << t.nom;
    EXPECT_EQ(noms.size(), QSet<QString>(noms.begin(), noms.end()).size());
    for (const char* nom : {"B0", "B9", "Bpoint", "BtoEXP", "bpf", "pico", "nano", "micro", "mil", "kilo", "mega",
                            "giga", "tera", "bsin", "Bcos", "Btan", "invsin", "invcos", "Btoncommande3", "Bln",
                            "Blog", "Bexp", "B10x", "racine", "Command5", "Bpo", "pi", "plus", "multip", "div",
                            "puissance", "btcarre", "moins", "ANS", "RAZ", "EFFACE", "EXE", "Command1", "Command2",
                            "Command3", "Command4"})
        EXPECT_TRUE(noms.contains(QLatin1String(nom))) << nom;
    EXPECT_EQ(noms.size(), 49);
}

}  // namespace
}  // namespace tolvi
