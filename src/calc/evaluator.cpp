#include "calc/evaluator.h"

#include "calc/calc_numbers.h"

#include <QStringView>
#include <array>
#include <cmath>
#include <vector>

namespace tolvi {

namespace {

// Any run-time failure of a reduction: the calculation stops with code 1.
struct EchecCalcul {};

constexpr QChar blanc = QLatin1Char(' ');

bool estChiffre(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }
bool estSigne(QChar c) { return c == QLatin1Char('+') || c == QLatin1Char('-'); }

const std::array<QStringView, 10> nomsFonctions = {
    u"SQR", u"EXP", u"LON", u"LOG", u"SIN", u"COS", u"TAN", u"ISI", u"ICO", u"ITA"};
// The names after which espacer puts a blank straight away ("LON" is
// handled on its own: "LN" becomes "LON ").
const std::array<QStringView, 9> nomsEspaces = {
    u"SQR", u"SIN", u"COS", u"LOG", u"TAN", u"ISI", u"EXP", u"ITA", u"ICO"};

template <std::size_t N>
bool nomEn(QStringView texte, qsizetype pos, const std::array<QStringView, N>& noms)
{
    if (pos < 0 || pos + 3 > texte.size())
        return false;
    const QStringView trois = texte.mid(pos, 3);
    for (QStringView nom : noms)
        if (trois == nom)
            return true;
    return false;
}

// The operand of a reduction: the whole text must be one number.
double operande(QStringView texte)
{
    const LectureNombre lu = lireNombre(texte);
    if (!lu.complet || lu.depassement)
        throw EchecCalcul{};
    return lu.valeur;
}

double verifie(double resultat)
{
    if (!std::isfinite(resultat))
        throw EchecCalcul{};
    return resultat;
}

// simplifier, steps 1 and 2: upper case, no blanks, then the rewritings
// "--" -> "+", "+-" -> "-", "-+" -> "-", "++" -> "+", a leading "+"
// dropped, "(" n ")" -> n for a lone number n (an optional sign then digits
// and points), repeated until nothing changes. These rewritings always reach
// the same text whatever the order, so one pass from left to right with a
// stack of the open "(" gives it directly.
QString normaliser(const QString& entree)
{
    // What follows an open "(" so far, as far as its removal is concerned.
    enum class Contenu { Vide, Signe, Nombre, Autre };
    struct Ouvrante {
        qsizetype position;
        Contenu contenuParent;  // what followed the enclosing "(" before this one
    };
    std::vector<Ouvrante> pile;
    Contenu contenu = Contenu::Autre;
    QString out;
    out.reserve(entree.size());

    auto ajouterSigne = [&](QChar c) {
        if (!out.isEmpty() && estSigne(out.back())) {
            out.back() = (out.back() == c) ? QLatin1Char('+') : QLatin1Char('-');
            // a single sign stays a single sign; anything else stays as it was
        } else {
            out += c;
            contenu = (contenu == Contenu::Vide) ? Contenu::Signe
                    : (contenu == Contenu::Signe) ? Contenu::Signe
                                                  : Contenu::Autre;
        }
        if (out.size() == 1 && out[0] == QLatin1Char('+'))
            out.clear();  // a leading "+" is dropped; no "(" can be open here
    };
    auto ajouterChiffre = [&](QChar c) {
        out += c;
        if (contenu != Contenu::Autre)
            contenu = Contenu::Nombre;
    };

    for (QChar c : entree) {
        if (c.unicode() >= u'a' && c.unicode() <= u'z')
            c = QChar(c.unicode() - (u'a' - u'A'));
        else if (c.unicode() > 0x7f)
            c = c.toUpper();
        if (c == blanc)
            continue;
        if (estSigne(c)) {
            ajouterSigne(c);
        } else if (estChiffre(c) || c == QLatin1Char('.')) {
            ajouterChiffre(c);
        } else if (c == QLatin1Char('(')) {
            pile.push_back({out.size(), contenu});
            out += c;
            contenu = Contenu::Vide;
        } else if (c == QLatin1Char(')')) {
            if (!pile.empty() && (contenu == Contenu::Signe || contenu == Contenu::Nombre)) {
                // Remove the pair: the lone number joins what came before.
                const Ouvrante o = pile.back();
                pile.pop_back();
                const QString nombre = out.mid(o.position + 1);
                out.truncate(o.position);
                contenu = o.contenuParent;
                if (estSigne(nombre[0]))
                    ajouterSigne(nombre[0]);
                else
                    ajouterChiffre(nombre[0]);
                if (nombre.size() > 1) {
                    out += QStringView(nombre).mid(1);
                    if (contenu != Contenu::Autre)
                        contenu = Contenu::Nombre;
                }
            } else {
                if (!pile.empty())
                    pile.pop_back();
                out += c;
                contenu = Contenu::Autre;  // the enclosing group now holds a group
            }
        } else {
            out += c;
            contenu = Contenu::Autre;
        }
    }
    return out;
}

class Evaluateur {
public:
    explicit Evaluateur(qint16 modeAngle) : radians_(modeAngle == modeRadians) {}

    void evaluer(QString& s, qint16& erreurCalcul);

private:
    void calculerFonctions(QString& s);
    void calculerParentheses(QString& s);
    void calculerOperations(QString& s);
    double fonction(QStringView nom, double x) const;

    bool radians_;
    Compteurs c_;
};

void Evaluateur::evaluer(QString& s, qint16& erreurCalcul)
{
    erreurCalcul = calculReussi;
    if (s.size() > longueurMaximale) {
        erreurCalcul = calculImpossible;
        return;
    }
    try {
        simplifier(s);
        verifier(s, erreurCalcul);
        if (erreurCalcul != calculReussi)
            return;
        c_ = compter(s);
        QString precedent;
        for (int passe = 1;; ++passe) {
            if (s == precedent)
                simplifier(s);
            precedent = s;
            if (passe > 100) {
                erreurCalcul = calculImpossible;
                return;
            }
            if (c_.nbFonctions > 0) {
                calculerFonctions(s);
                simplifier(s);
            }
            if (c_.nbParentheses > 0)
                calculerParentheses(s);
            c_ = compter(s);
            if (c_.nbFonctions >= 1 || c_.nbParentheses >= 1)
                continue;
            if (c_.nbOperations > 0)
                calculerOperations(s);
            c_ = compter(s);
            if (c_.nbOperations < 1)
                break;
        }
        s = sansBlancsAuxBords(s);
        // More than one token left, or a token that is not a number.
        if (s.contains(blanc) || (!s.isEmpty() && !lireNombre(s).complet))
            erreurCalcul = calculImpossible;
    } catch (const EchecCalcul&) {
        erreurCalcul = calculImpossible;
    }
}

double Evaluateur::fonction(QStringView nom, double x) const
{
    const double pi = 4.0 * std::atan(1.0);
    auto angle = [&](double a) { return radians_ ? a : a * pi / 180.0; };
    auto versAngle = [&](double a) { return radians_ ? a : a * 180.0 / pi; };
    auto arcSinus = [&](double v) {
        if (v == 1.0)
            return pi / 2.0;
        if (v == -1.0)
            return -pi / 2.0;
        const double d = 1.0 - v * v;
        if (!(d > 0.0))
            throw EchecCalcul{};  // square root of a negative, or division by zero
        return std::atan(v / std::sqrt(d));
    };
    if (nom == u"SQR") {
        if (x < 0.0)
            throw EchecCalcul{};
        return std::sqrt(x);
    }
    if (nom == u"EXP")
        return verifie(std::exp(x));
    if (nom == u"LON" || nom == u"LOG") {
        if (!(x > 0.0))
            throw EchecCalcul{};
        return nom == u"LON" ? std::log(x) : std::log(x) / std::log(10.0);
    }
    if (nom == u"SIN")
        return verifie(std::sin(angle(x)));
    if (nom == u"COS")
        return verifie(std::cos(angle(x)));
    if (nom == u"TAN")
        return verifie(std::tan(angle(x)));
    if (nom == u"ISI")
        return versAngle(arcSinus(x));
    if (nom == u"ICO")
        return versAngle(pi / 2.0 - arcSinus(x));
    return versAngle(std::atan(x));  // ITA
}

void Evaluateur::calculerFonctions(QString& s)
{
    qsizetype p = 0;
    while (p + 1 < s.size() && c_.nbFonctions >= 1) {
        const qsizetype debut = p + 4;
        if (!nomEn(s, p, nomsFonctions) || debut >= s.size()
            || !(estChiffre(s[debut]) || s[debut] == QLatin1Char('-') || s[debut] == QLatin1Char('.'))) {
            ++p;
            continue;
        }
        qsizetype fin = debut;
        while (fin < s.size() && s[fin] != blanc && s[fin] != QLatin1Char(')'))
            ++fin;
        const double x = operande(QStringView(s).mid(debut, fin - debut));
        const double y = verifie(fonction(QStringView(s).mid(p, 3), x));
        s.replace(p, fin - p, texteNombreNu(y));
        c_.nbFonctions -= 1;
        // The scan starts again from the left; only a name just before the
        // result can have become reducible, so start there.
        p = std::max<qsizetype>(1, p - 4);
    }
}

void Evaluateur::calculerParentheses(QString& s)
{
    while (c_.nbParentheses > 0) {
        const qsizetype ouvre = s.lastIndexOf(QLatin1Char('('));
        if (ouvre < 0)
            return;
        const qsizetype ferme = s.indexOf(QLatin1Char(')'), ouvre + 1);
        if (ferme < 0)
            throw EchecCalcul{};
        QString groupe = s.mid(ouvre + 1, ferme - ouvre - 1);
        for (QChar c : groupe)
            if (c >= QLatin1Char('F') && c <= QLatin1Char('Y'))
                return;  // a function inside must be evaluated first
        simplifier(groupe);
        calculerOperations(groupe);
        s.replace(ouvre, ferme - ouvre + 1, sansBlancsAuxBords(groupe));
        c_.nbParentheses -= 1;
        simplifier(s);
    }
}

void Evaluateur::calculerOperations(QString& s)
{
    simplifier(s);
    static const std::array<QStringView, 5> operateurs = {u" ^ ", u" / ", u" * ", u" - ", u" + "};
    // An operation never makes a new operator appear, so once an operator is
    // missing it stays missing, and the leftmost occurrence of the current one
    // is never before the operation just done.
    qsizetype depuis = 2;
    for (std::size_t k = 0; k < operateurs.size();) {
        const qsizetype p = s.indexOf(operateurs[k], depuis);
        if (p < 0) {
            ++k;
            depuis = 2;
            continue;
        }
        const qsizetype gauche = s.lastIndexOf(blanc, p - 1) + 1;
        const qsizetype droite = p + 3;
        const qsizetype fin = droite < s.size() ? s.indexOf(blanc, droite + 1) : -1;
        if (fin < 0)
            throw EchecCalcul{};  // the operator ends the text
        const double a = operande(QStringView(s).mid(gauche, p - gauche));
        const double b = operande(QStringView(s).mid(droite, fin - droite));
        double r = 0.0;
        switch (operateurs[k][1].unicode()) {
        case '^': r = std::pow(a, b); break;
        case '/':
            if (b == 0.0)
                throw EchecCalcul{};
            r = a / b;
            break;
        case '*': r = a * b; break;
        case '-': r = a - b; break;
        default: r = a + b; break;
        }
        s.replace(gauche, fin - gauche, texteNombreNu(verifie(r)));
        c_.nbOperations -= 1;
        if (c_.nbOperations < 1)
            return;
        depuis = std::max<qsizetype>(2, gauche - 1);
    }
}

}  // namespace

void espacer(QString& expression)
{
    // Upper case, no blanks, no leading "+", one blank around the whole.
    QString in;
    in.reserve(expression.size() + 2);
    in += blanc;
    for (QChar c : expression) {
        if (c == blanc)
            continue;
        if (c.unicode() >= u'a' && c.unicode() <= u'z')
            in += QChar(c.unicode() - (u'a' - u'A'));
        else
            in += c.unicode() > 0x7f ? c.toUpper() : c;
    }
    if (in.size() > 1 && in[1] == QLatin1Char('+'))
        in.remove(1, 1);
    in += blanc;

    QString out;
    out.reserve(in.size() * 2);
    const QStringView v(in);
    qsizetype i = 0;
    while (i < v.size()) {
        const QChar c = v[i];
        if (estChiffre(c) || c == QLatin1Char('.') || c == QLatin1Char('(') || c == QLatin1Char(')')
            || c == blanc) {
            out += c;  // the common case: nothing to insert
            i += 1;
            continue;
        }
        const QChar avant = out.isEmpty() ? blanc : out.back();
        if (c == QChar(0x00F9) || c == QChar(0x00D9)) {  // "ù" (upper-cased "Ù")
            out += u"SQR ";
            i += 1;
        } else if (nomEn(v, i, nomsEspaces)) {
            out += v.mid(i, 3);
            out += blanc;
            i += 3;
        } else if (v.mid(i, 2) == u"LN") {
            out += u"LON ";
            i += 2;
        } else if (v.mid(i, 3) == u"INV" && i + 6 <= v.size()
                   && v[i + 3].isLetter() && v[i + 4].isLetter() && v[i + 5].isLetter()) {
            // "INVSIN" -> "ISI ", "INVCOS" -> "ICO ", "INVTAN" -> "ITA "
            out += v[i];
            out += v.mid(i + 3, 2);
            out += blanc;
            i += 6;
        } else if (c == QLatin1Char('^') || c == QLatin1Char('*') || c == QLatin1Char('/')
                   || (c == QLatin1Char('+') && avant != QLatin1Char('E') && avant != QLatin1Char('D'))
                   || (c == QLatin1Char('-') && avant != QLatin1Char('E') && avant != QLatin1Char('D')
                       && avant != QLatin1Char('(') && avant != blanc)) {
            out += blanc;
            out += c;
            out += blanc;
            i += 1;
        } else if (v.mid(i, 3) == u"LON") {
            out += u"LON";
            if (i + 3 >= v.size() || v[i + 3] != blanc)
                out += blanc;
            i += 3;
        } else {
            out += c;
            i += 1;
        }
    }
    expression = out;
}

void simplifier(QString& expression)
{
    expression = normaliser(expression);
    espacer(expression);
}

void verifier(const QString& expression, qint16& erreurCalcul)
{
    qsizetype ouvrantes = 0;
    qsizetype fermantes = 0;
    for (qsizetype i = 0; i < expression.size(); ++i) {
        const QChar c = expression[i];
        if (c == QLatin1Char('('))
            ++ouvrantes;
        else if (c == QLatin1Char(')'))
            ++fermantes;
        else if ((c == QLatin1Char('*') || c == QLatin1Char('/') || c == QLatin1Char('^'))
                 && i + 2 < expression.size() && expression[i + 2] == blanc)
            erreurCalcul = erreurOperateurs;
    }
    if (ouvrantes != fermantes)
        erreurCalcul = erreurParentheses;
}

Compteurs compter(const QString& expression)
{
    Compteurs c;
    const QStringView v(expression);
    for (qsizetype i = 0; i < v.size(); ++i) {
        if (v[i] == QLatin1Char('('))
            ++c.nbParentheses;
        if (i + 3 <= v.size()) {
            if (v[i] == blanc && v[i + 2] == blanc) {
                const QChar o = v[i + 1];
                if (o == QLatin1Char('+') || o == QLatin1Char('-') || o == QLatin1Char('*')
                    || o == QLatin1Char('/') || o == QLatin1Char('^'))
                    ++c.nbOperations;
            }
            if (nomEn(v, i, nomsFonctions))
                ++c.nbFonctions;
        }
    }
    return c;
}

void evaluer(QString& expression, qint16& erreurCalcul, qint16 modeAngle)
{
    Evaluateur(modeAngle).evaluer(expression, erreurCalcul);
}

}  // namespace tolvi
