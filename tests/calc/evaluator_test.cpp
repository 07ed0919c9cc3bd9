// The evaluator, through its entry point and its normalisation: priorities,
// signs, functions in both angle modes, error codes, and the shapes of the
// normalised text.
#include "calc/evaluator.h"

#include <gtest/gtest.h>
#include <QRandomGenerator>
#include <QStringList>

// Readable failures: QString shown as text, cut when very long.
void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << (s.size() > 120 ? s.left(120) + QStringLiteral("...") : s).toStdString() << '"';
}

namespace tolvi {
namespace {

struct Cas {
    const char16_t* expression;
    const char16_t* resultat;  // text on return (checked on success only)
    qint16 code;
};

void verifierCas(const Cas& c, qint16 mode)
{
    QString s = QString::fromUtf16(c.expression);
    qint16 code = -1;
    evaluer(s, code, mode);
    const QString e = QString::fromUtf16(c.expression);
    EXPECT_EQ(code, c.code) << "expression: " << e.left(120).toStdString() << " -> " << s.left(120).toStdString();
    if (c.code == calculReussi) {
        EXPECT_EQ(s, QString::fromUtf16(c.resultat))
            << "expression: " << e.left(120).toStdString();
    }
}

TEST(Evaluer, PrioritiesAreTheCalculatorsOwn)
{
    const Cas cas[] = {
        {u"2+3*4", u"14", 0},
        {u"(2+3)*4", u"20", 0},
        {u"8/2*4", u"16", 0},
        {u"2*6/3", u"4", 0},
        {u"10-2+3", u"11", 0},
        {u"2-3-4", u"-5", 0},          // leftmost first
        {u"1+2-5", u"-2", 0},          // "-" before "+": 1 + -3
        {u"2^3^2", u"64", 0},          // "^" left to right
        {u"2^2^3", u"64", 0},          // (2^2)^3, not 2^8
        {u"3-2^2", u"-1", 0},
        {u"2*3^2", u"18", 0},
        {u"1/3*3", u".999999999999999", 0},  // the quotient is kept to 15 digits
        {u"100/10/5", u"2", 0},
        {u"1+1+1+1+1", u"5", 0},
    };
    for (const Cas& c : cas)
        verifierCas(c, modeDegres);
}

TEST(Evaluer, SignsBelongToTheNumber)
{
    const Cas cas[] = {
        {u"-2^2", u"4", 0},
        {u"2^-1", u".5", 0},
        {u"2*-3", u"-6", 0},
        {u"-3*-3", u"9", 0},
        {u"5--3", u"8", 0},
        {u"5-(-3)", u"8", 0},
        {u"--5", u"5", 0},
        {u"---5", u"-5", 0},
        {u"+5", u"5", 0},
        {u"5+-3", u"2", 0},
        {u"(-3.5)", u"-3.5", 0},
        {u"-(-(-3))", u"-3", 0},
        {u"-.5*2", u"-1", 0},
        {u"1.5E-3*2", u".003", 0},     // the exponent keeps its sign
        {u"2E+3", u"2E+3", 0},         // a lone number is returned as written
        {u"2E+3*1", u"2000", 0},       // what the k key builds after 2
        {u"5E+3+1", u"5001", 0},
        {u"1.5D2+0", u"150", 0},
        {u"1E20*10", u"1E+21", 0},
        {u"1e-5", u"1E-5", 0},
        {u"3/2000000", u"1.5E-06", 0},
    };
    for (const Cas& c : cas)
        verifierCas(c, modeDegres);
}

TEST(Evaluer, FunctionsInDegrees)
{
    const Cas cas[] = {
        {u"sin 30", u".5", 0},
        {u"2 * sin 30", u"1", 0},
        {u"cos 60", u".5", 0},
        {u"tan 45", u"1", 0},
        {u"sin (30+60)", u"1", 0},
        {u"sin(-30)", u"-.5", 0},
        {u"invSIN 1", u"90", 0},
        {u"invSIN -1", u"-90", 0},
        {u"invSIN .5", u"30", 0},
        {u"invCOS 1", u"0", 0},
        {u"invCOS 0", u"90", 0},
        {u"invTAN 1", u"45", 0},
        {u"INVsin 1", u"90", 0},
        {u"ln (2+3)", u"1.6094379124341", 0},
        {u"LN 1", u"0", 0},
        {u"log 1000", u"3", 0},
        {u"log .01", u"-2", 0},
        {u"exp 1", u"2.71828182845905", 0},
        {u"exp 0", u"1", 0},
        {u"SQR 16", u"4", 0},
        {u"sqr 2", u"1.4142135623731", 0},
        {u"\u00f916", u"4", 0},        // "ù" is read as SQR
        {u"SQR SQR 16", u"2", 0},
        {u"sin sin 0", u"0", 0},
        {u"log (10^3) + ln 1", u"3", 0},
        {u"SQR (SQR (16))", u"2", 0},
        {u"10 ^ log 5", u"5", 0},
        {u"1 / cos 60", u"2", 0},
    };
    for (const Cas& c : cas)
        verifierCas(c, modeDegres);
    // Any mode other than 1 is degrees.
    verifierCas({u"sin 30", u".5", 0}, 7);
}

TEST(Evaluer, FunctionsInRadians)
{
    const Cas cas[] = {
        {u"sin 30", u"-.988031624092862", 0},
        {u"cos 0", u"1", 0},
        {u"sin 0", u"0", 0},
        {u"invTAN 1", u".785398163397448", 0},
        {u"invSIN 1", u"1.5707963267949", 0},
        {u"invCOS -1", u"3.14159265358979", 0},
        {u"invCOS 1", u"0", 0},
        {u"ln (2+3)", u"1.6094379124341", 0},  // not an angle: same as in degrees
    };
    for (const Cas& c : cas)
        verifierCas(c, modeRadians);
}

TEST(Evaluer, RunTimeFailuresGiveCode1)
{
    const Cas cas[] = {
        {u"5/0", u"", 1},
        {u"0/0", u"", 1},
        {u"invSIN 2", u"", 1},
        {u"invCOS -1.5", u"", 1},
        {u"SQR -4", u"", 1},
        {u"ln 0", u"", 1},
        {u"ln(-1)", u"", 1},
        {u"log -1", u"", 1},
        {u"exp 1000", u"", 1},         // overflow
        {u"1E308*10", u"", 1},
        {u"-1E308-1E308", u"", 1},
        {u"0^-1", u"", 1},
        {u"(-8)^.5", u"", 1},          // undefined power
        {u"1E400+1", u"", 1},          // operand beyond the double range
        {u"2+", u"", 1},               // binary operator ending the text
        {u"2-", u"", 1},
        {u"-", u"", 1},
        {u"*3", u"", 1},
        {u")2(", u"", 1},              // balanced counts, wrong order
        {u"sin", u"", 1},              // nothing ever becomes reducible
        {u"XYZ (2)", u"", 1},
    };
    for (const Cas& c : cas)
        verifierCas(c, modeDegres);
}

TEST(Evaluer, MalformedNumbersFailInsteadOfReadingAsSomethingElse)
{
    // A number with a stray point or a lonely exponent letter is not read as
    // its leading part (1.2.3 is not 1.2, E5 is not 0): the calculation fails.
    const Cas cas[] = {
        {u"1.2.3+1", u"", 1},
        {u"1.2.3", u"", 1},
        {u"E5", u"", 1},
        {u"E5*2", u"", 1},
        {u"5E", u"", 1},
        {u"5E+2*", u"", 3},
        {u".", u"", 1},
        {u"2+*3", u"", 1},             // empty left operand
        {u"2A+3", u"", 1},
        {u"ABC", u"", 1},
        {u"sin .", u"", 1},
        {u"5.+1", u"6", 0},            // a trailing point is still a number
        {u".5+.5", u"1", 0},
    };
    for (const Cas& c : cas)
        verifierCas(c, modeDegres);
}

TEST(Evaluer, SyntaxErrorsStopBeforeEvaluating)
{
    const Cas cas[] = {
        {u"(2+3", u"", 2},
        {u"2+3)", u"", 2},
        {u"((2)", u"", 2},
        {u"(5/0", u"", 2},             // nothing is evaluated
        {u"2*/3", u"", 3},
        {u"2^", u"", 3},
        {u"5*", u"", 3},
        {u"2**3", u"", 3},
        {u"2//3", u"", 3},
        {u"2*+3", u"", 3},
        {u"2^*3", u"", 3},
        {u"(2*/3", u"", 2},            // parentheses override operators
    };
    for (const Cas& c : cas)
        verifierCas(c, modeDegres);
}

TEST(Evaluer, NoImpliedMultiplication)
{
    // A parenthesised number loses its parentheses and what is left is read
    // as one number.
    const Cas cas[] = {
        {u"2(3)", u"23", 0},
        {u"2(-3)", u"-1", 0},
        {u"(2+3)(4)", u"54", 0},
        {u"2sin30", u"2.5", 0},
        {u"((((7))))", u"7", 0},
        {u"(1+(2*(3+4)))", u"15", 0},
        {u"(1+2)*(3+4)", u"21", 0},
    };
    for (const Cas& c : cas)
        verifierCas(c, modeDegres);
}

TEST(Evaluer, EmptyExpressionGivesEmptyText)
{
    for (const char16_t* vide : {u"", u"   ", u"+", u"()"}) {
        QString s = QString::fromUtf16(vide);
        qint16 code = -1;
        evaluer(s, code, modeDegres);
        EXPECT_EQ(code, calculReussi);
        EXPECT_TRUE(s.isEmpty()) << s.toStdString();
    }
}

TEST(Evaluer, LongSumsAndNestings)
{
    QString somme = QStringLiteral("1");
    for (int i = 1; i < 1000; ++i)
        somme += QStringLiteral("+1");
    verifierCas({reinterpret_cast<const char16_t*>(somme.utf16()), u"1000", 0}, modeDegres);

    // Each pass reduces one level of a function applied to a group: beyond
    // 100 passes the calculation gives up.
    auto imbrique = [](int profondeur) {
        QString s = QStringLiteral("(1+0)");
        for (int i = 0; i < profondeur; ++i)
            s = QStringLiteral("SQR (") + s + QStringLiteral(")");
        return s;
    };
    verifierCas({reinterpret_cast<const char16_t*>(imbrique(40).utf16()), u"1", 0}, modeDegres);
    verifierCas({reinterpret_cast<const char16_t*>(imbrique(120).utf16()), u"", 1}, modeDegres);

    // Deep parentheses around a number are removed in one go.
    const QString profond = QString(2000, QLatin1Char('(')) + QStringLiteral("-2") + QString(2000, QLatin1Char(')'));
    verifierCas({reinterpret_cast<const char16_t*>(profond.utf16()), u"-2", 0}, modeDegres);
}

TEST(Evaluer, OverlongExpressionIsRefusedAtOnce)
{
    QString s = QStringLiteral("1");
    while (s.size() <= longueurMaximale)
        s += QStringLiteral("+1");
    qint16 code = 0;
    evaluer(s, code, modeDegres);
    EXPECT_EQ(code, calculImpossible);
}

TEST(Simplifier, NormalisedShapes)
{
    struct Forme { const char16_t* entree; const char16_t* sortie; };
    const Forme formes[] = {
        {u"2+3*4", u" 2 + 3 * 4 "},
        {u" 2 +  3 ", u" 2 + 3 "},
        {u"(-3.5)", u" -3.5 "},
        {u"5--3", u" 5 + 3 "},
        {u"5-+-3", u" 5 + 3 "},
        {u"2*-3", u" 2 * -3 "},
        {u"-2^2", u" -2 ^ 2 "},
        {u"2^-1", u" 2 ^ -1 "},
        {u"+-5", u" -5 "},
        {u"(2+3)-4", u" (2 + 3) - 4 "},
        {u"(-(2))", u" -2 "},
        {u"((5)+1)", u" (5 + 1) "},
        {u"(+)", u"  "},               // a lone sign counts as a number here, then is dropped
        {u"()", u" () "},
        {u"1.5E-3*2", u" 1.5E-3 * 2 "},
        {u"1e+3", u" 1E+3 "},
        {u"1D-3", u" 1D-3 "},
        {u"2*/3", u" 2 *  / 3 "},
        {u"sin(-30)", u" SIN -30 "},
        {u"invSIN 1", u" ISI 1 "},
        {u"invcos(2)", u" ICO 2 "},
        {u"INVTAN 1", u" ITA 1 "},
        {u"ln 5", u" LON 5 "},
        {u"LN5", u" LON 5 "},
        {u"\u00f9\u00f94", u" SQR SQR 4 "},
        {u"exp -1", u" EXP -1 "},
        {u"2 * sin 30", u" 2 * SIN 30 "},
        {u"log(2+3)", u" LOG (2 + 3) "},
        {u"", u"  "},
    };
    for (const Forme& f : formes) {
        QString s = QString::fromUtf16(f.entree);
        simplifier(s);
        EXPECT_EQ(s, QString::fromUtf16(f.sortie)) << QString::fromUtf16(f.entree).toStdString();
    }
}

// The rewritings of simplifier as written, applied one pass after the other
// until nothing changes: the reference for the one-pass normalisation.
QString simplifierPasAPas(QString s)
{
    s = s.toUpper();
    s.remove(QLatin1Char(' '));
    auto chiffreOuPoint = [](QChar c) { return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('.'); };
    for (;;) {
        const QString avant = s;
        const qsizetype longueur = s.size();
        for (qsizetype i = 0; i < longueur; ++i) {
            if (s.mid(i, 2) == QLatin1String("--")) s.replace(i, 2, QStringLiteral("+"));
            if (s.mid(i, 2) == QLatin1String("+-")) s.replace(i, 2, QStringLiteral("-"));
            if (s.mid(i, 2) == QLatin1String("-+")) s.replace(i, 2, QStringLiteral("-"));
            if (s.mid(i, 2) == QLatin1String("++")) s.replace(i, 2, QStringLiteral("+"));
        }
        if (s.startsWith(QLatin1Char('+')))
            s.remove(0, 1);
        for (qsizetype i = 0; i < s.size(); ++i) {
            if (s[i] != QLatin1Char('('))
                continue;
            qsizetype j = i + 1;
            while (j < s.size() && (chiffreOuPoint(s[j]) || (j == i + 1 && (s[j] == QLatin1Char('-') || s[j] == QLatin1Char('+')))))
                ++j;
            if (j > i + 1 && j < s.size() && s[j] == QLatin1Char(')')) {
                s.remove(j, 1);
                s.remove(i, 1);
            }
        }
        if (s == avant)
            break;
    }
    return s;
}

// espacer as written: the text is scanned while it grows, position by
// position, each rule in turn.
QString espacerPasAPas(QString s)
{
    s = s.toUpper();
    s.remove(QLatin1Char(' '));
    if (s.startsWith(QLatin1Char('+')))
        s.remove(0, 1);
    s = QLatin1Char(' ') + s + QLatin1Char(' ');
    const qsizetype borne = 3 * s.size();
    const QStringList noms = {"SQR", "SIN", "COS", "LOG", "TAN", "ISI", "EXP", "ITA", "ICO"};
    for (qsizetype i = 0; i < s.size() && i < borne; ++i) {
        if (noms.contains(s.mid(i, 3)))
            s.insert(i + 3, QLatin1Char(' '));
        if (s.mid(i, 2) == QLatin1String("LN"))
            s.replace(i, 2, QStringLiteral("LON "));
        if (s.mid(i, 3) == QLatin1String("INV") && i + 6 <= s.size() && s[i + 3].isLetter() && s[i + 4].isLetter()
            && s[i + 5].isLetter())
            s.replace(i, 6, s[i] + s.mid(i + 3, 2) + QLatin1Char(' '));
        const QChar c = s[i];
        const QChar p = s[i - 1 < 0 ? 0 : i - 1];
        if (c == QLatin1Char('^') || c == QLatin1Char('*') || c == QLatin1Char('/')
            || (c == QLatin1Char('+') && p != QLatin1Char('E') && p != QLatin1Char('D'))
            || (c == QLatin1Char('-') && p != QLatin1Char('E') && p != QLatin1Char('D') && p != QLatin1Char('(')
                && p != QLatin1Char(' '))) {
            s.replace(i, 1, QLatin1Char(' ') + QString(c) + QLatin1Char(' '));
            i += 2;
        }
        if (s.mid(i, 3) == QLatin1String("LON") && (i + 3 >= s.size() || s[i + 3] != QLatin1Char(' ')))
            s.insert(i + 3, QLatin1Char(' '));
    }
    return s;
}

QString texteAuHasard(QRandomGenerator& hasard, QStringView alphabet, int longueurMax)
{
    const int n = int(hasard.bounded(longueurMax + 1));
    QString s;
    for (int i = 0; i < n; ++i)
        s += alphabet[hasard.bounded(int(alphabet.size()))];
    return s;
}

TEST(Simplifier, OnePassGivesTheSameTextAsTheRewritingsRepeated)
{
    QRandomGenerator hasard(20240607);
    const QStringView signes = u"((((()))))+--+-+.0123 E*";
    const QStringView tout = u"0123456789.+-*/^()EDLNSIVCOTAGQRXP +--((()))";
    for (int essai = 0; essai < 20000; ++essai) {
        const QString entree = texteAuHasard(hasard, essai % 2 ? signes : tout, 24);
        QString attendu = simplifierPasAPas(entree);
        attendu = espacerPasAPas(attendu);
        QString obtenu = entree;
        simplifier(obtenu);
        ASSERT_EQ(obtenu, attendu) << "entree: " << entree.toStdString();
    }
}

TEST(Compter, CountsWhatIsLeftToReduce)
{
    struct Compte { const char16_t* texte; int parentheses, fonctions, operations; };
    const Compte comptes[] = {
        {u" 2 + 3 * 4 ", 0, 0, 2},
        {u" LON (2 + 3) ", 1, 1, 1},
        {u" SIN SIN 30 ", 0, 2, 0},
        {u" 1E+3 - -2 ", 0, 0, 1},
        {u" ((2 ^ 2)) / 2 ", 2, 0, 2},
    };
    for (const Compte& c : comptes) {
        const Compteurs n = compter(QString::fromUtf16(c.texte));
        EXPECT_EQ(n.nbParentheses, c.parentheses) << QString::fromUtf16(c.texte).toStdString();
        EXPECT_EQ(n.nbFonctions, c.fonctions) << QString::fromUtf16(c.texte).toStdString();
        EXPECT_EQ(n.nbOperations, c.operations) << QString::fromUtf16(c.texte).toStdString();
    }
}

}  // namespace
}  // namespace tolvi
