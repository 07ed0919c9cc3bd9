#include "calc/calculator_session.h"

#include "calc/calc_numbers.h"
#include "calc/evaluator.h"
#include "calc/key_names.h"

#include <cmath>

namespace tolvi {

CalculatriceCommune& calculatriceCommune()
{
    static CalculatriceCommune commune;
    return commune;
}

namespace {

constexpr QChar blanc = QLatin1Char(' ');

std::vector<ToucheMachine> construireTouches()
{
    using A = ActionTouche;
    std::vector<ToucheMachine> t;
    for (int i = 0; i <= 9; ++i)
        t.push_back({QStringLiteral("B%1").arg(i), QString::number(i), {}, A::Texte, QString::number(i)});
    t.push_back({"Bpoint", ".", {}, A::Texte, "."});
    t.push_back({"BtoEXP", "EXP", {}, A::Texte, "E"});
    t.push_back({"bpf", ")", {}, A::Texte, ")"});
    t.push_back({"pico", "p", {}, A::Texte, "E-12"});
    t.push_back({"nano", "n", {}, A::Texte, "E-9"});
    t.push_back({"micro", QStringLiteral("\u00b5"), "micro", A::Texte, "E-6"});
    t.push_back({"mil", "m", "milli", A::Texte, "E-3"});
    t.push_back({"kilo", "k", {}, A::Texte, "E+3"});
    t.push_back({"mega", "M", {}, A::Texte, "E+6"});
    t.push_back({"giga", "G", {}, A::Texte, "E+9"});
    t.push_back({"tera", "T", {}, A::Texte, "E+12"});

    t.push_back({"bsin", "&SIN", "Sinus", A::Fonction, "sin "});
    t.push_back({"Bcos", "&COS", "Cosinus", A::Fonction, "cos "});
    t.push_back({"Btan", "&TAN", "Tangente", A::Fonction, "tan "});
    t.push_back({"invsin", "INV S&IN", "Inverse sinus", A::Fonction, "invSIN "});
    t.push_back({"invcos", "INV C&OS", "Inverse cosinus", A::Fonction, "invCOS "});
    t.push_back({"Btoncommande3", "INV T&AN", "Inverse tangente", A::Fonction, "invTAN "});
    t.push_back({"Bln", "l&n", {}, A::Fonction, "ln "});
    t.push_back({"Blog", "&Log", {}, A::Fonction, "log "});
    t.push_back({"Bexp", QStringLiteral("e\u02e3"), {}, A::Fonction, "exp "});
    t.push_back({"B10x", QStringLiteral("10\u02e3"), {}, A::Fonction, "10 ^ "});
    t.push_back({"racine", QStringLiteral("\u221a"), QStringLiteral("Racine carré"), A::Fonction, "SQR "});
    t.push_back({"Command5", "1/x", "Inverse", A::Fonction, "1 / "});
    t.push_back({"Bpo", "(", {}, A::Fonction, "("});
    t.push_back({"pi", QStringLiteral("\u03c0"), {}, A::Fonction, texteNombreNu(4.0 * std::atan(1.0))});

    t.push_back({"plus", "+", {}, A::Plus, {}});
    t.push_back({"multip", "x", {}, A::Multip, {}});
    t.push_back({"div", QStringLiteral("\u00f7"), {}, A::Div, {}});
    t.push_back({"puissance", QStringLiteral("x\u02b8"), {}, A::Puissance, {}});
    t.push_back({"btcarre", QStringLiteral("x\u00b2"), {}, A::Carre, {}});
    t.push_back({"moins", "-", {}, A::Moins, {}});

    t.push_back({"ANS", "ANS", QStringLiteral("Dernière réponse"), A::Ans, {}});
    t.push_back({"RAZ", "AC", "Tout effacer", A::Raz, {}});
    t.push_back({"EFFACE", QStringLiteral("\u2190"), QStringLiteral("Effacer dernier caractère"), A::Efface, {}});
    t.push_back({"EXE", "EXE", "Calculer", A::Exe, {}});
    t.push_back({"Command1", "M+", QStringLiteral("Ajouter à la méoire"), A::MemoirePlus, {}});
    t.push_back({"Command2", "M-", QStringLiteral("Soustraire à la mémoire"), A::MemoireMoins, {}});
    t.push_back({"Command3", "RM", QStringLiteral("Rappel mémoire"), A::RappelMemoire, {}});
    t.push_back({"Command4", "CM", QStringLiteral("Effacer la mémoire"), A::EffaceMemoire, {}});
    return t;
}

}  // namespace

const std::vector<ToucheMachine>& touchesMachine()
{
    static const std::vector<ToucheMachine> touches = construireTouches();
    return touches;
}

const ToucheMachine* toucheMachine(const QString& nom)
{
    for (const ToucheMachine& t : touchesMachine())
        if (t.nom == nom)
            return &t;
    return nullptr;
}

QString textePatience() { return QStringLiteral("    Patience... Calculs en cours.     "); }

QString messageErreur(qint16 erreurCalcul)
{
    switch (erreurCalcul) {
    case erreurParentheses: return QStringLiteral("Erreur saisie: revoir les parenthèses");
    case erreurOperateurs: return QStringLiteral("Erreur saisie: incompréhension sur opérateurs: ^ * / + -");
    default: return QStringLiteral("Calcul impossible");
    }
}

QString texteDepassement() { return QStringLiteral("Dépassement de capacité"); }

CalculatorSession::CalculatorSession() = default;

std::optional<double> relireResultat(QStringView resultat)
{
    // The result is read, written with 15 significant digits and read again,
    // as the display shows it. Near the top of the double range the rounding
    // goes past the largest double (1.7976931348623157E308 is written
    // 1.79769313486232E+308): that second reading overflows too.
    const LectureNombre lu = lireNombre(resultat);
    if (lu.depassement)
        return std::nullopt;
    const LectureNombre relu = lireNombre(texteNombre(lu.valeur));
    if (relu.depassement || !std::isfinite(relu.valeur))
        return std::nullopt;
    return relu.valeur;
}

QString CalculatorSession::texteResultat(double valeur) const
{
    // Standard: the number-to-text rule with its leading blank; Scientifique:
    // "#.#######E+00". The decimal mark is "." whatever the regional settings.
    QString texte = scientifique_ ? formatScientifique(valeur) : texteNombre(valeur);
    const qsizetype virgule = texte.indexOf(QLatin1Char(','));
    if (virgule >= 0)
        texte[virgule] = QLatin1Char('.');
    return texte;
}

void CalculatorSession::setScientific(bool scientific)
{
    scientifique_ = scientific;
    // C_Click: a result on show is shown again in the new mode. A failure
    // message stays as it is.
    if (!saisie_.isEmpty() || erreurCalcul_ != calculReussi)
        return;
    const std::optional<double> valeur = relireResultat(derniereReponse_);
    if (!valeur)
        return;
    affichage_ = texteResultat(*valeur);
}

QString CalculatorSession::evaluate(const QString& typed)
{
    // After a success the expression is already empty and the result on
    // show, so an operator typed first continues from it; a failed
    // expression is cleared (AC) rather than added to.
    if (!saisie_.isEmpty())
        raz();
    for (QChar c : typed) {
        if (c == QLatin1Char('\r') || c == QLatin1Char('\b') || !frappe(c)) {
            saisie_ += c;
            montrer();
        }
    }
    exe();
    return affichage_;
}

void CalculatorSession::appuyer(const ToucheMachine& touche)
{
    switch (touche.action) {
    case ActionTouche::Texte: ajouter(touche.texte); break;
    case ActionTouche::Fonction: ajouterFonction(touche.texte); break;
    case ActionTouche::Plus: plus(); break;
    case ActionTouche::Moins: moins(); break;
    case ActionTouche::Multip: multip(); break;
    case ActionTouche::Div: div(); break;
    case ActionTouche::Puissance: puissance(); break;
    case ActionTouche::Carre: carre(); break;
    case ActionTouche::Ans: ans(); break;
    case ActionTouche::Raz: raz(); break;
    case ActionTouche::Efface: efface(); break;
    case ActionTouche::Exe: exe(); break;
    case ActionTouche::MemoirePlus: memoirePlus(); break;
    case ActionTouche::MemoireMoins: memoireMoins(); break;
    case ActionTouche::RappelMemoire: rappelMemoire(); break;
    case ActionTouche::EffaceMemoire: effaceMemoire(); break;
    }
}

void CalculatorSession::ajouter(const QString& texte)
{
    saisie_ += texte;
    montrer();
}

void CalculatorSession::ajouterFonction(const QString& texte)
{
    if (!saisie_.isEmpty()) {
        const QChar dernier = saisie_.back();
        if (dernier != QLatin1Char('(') && dernier != QLatin1Char('-') && dernier != blanc)
            saisie_ += QStringLiteral(" * ");
    }
    ajouter(texte);
}

void CalculatorSession::ansSiVide()
{
    if (sansBlancsAuxBords(saisie_).isEmpty())
        ans();
}

void CalculatorSession::plus()
{
    if (sansBlancsAuxBords(affichage_).isEmpty())
        return;
    ansSiVide();
    ajouter(!saisie_.isEmpty() && saisie_.back() == QLatin1Char('E') ? QStringLiteral("+") : QStringLiteral(" + "));
}

void CalculatorSession::multip()
{
    if (sansBlancsAuxBords(affichage_).isEmpty())
        return;
    ansSiVide();
    ajouter(QStringLiteral(" * "));
}

void CalculatorSession::div()
{
    if (sansBlancsAuxBords(affichage_).isEmpty())
        return;
    ansSiVide();
    ajouter(QStringLiteral(" / "));
}

void CalculatorSession::puissance()
{
    ansSiVide();
    ajouter(QStringLiteral(" ^ "));
}

void CalculatorSession::carre()
{
    ansSiVide();
    ajouter(QStringLiteral(" ^ 2"));
}

void CalculatorSession::moins()
{
    const QChar dernier = saisie_.isEmpty() ? QChar() : saisie_.back();
    if (dernier == QLatin1Char('(') || dernier == blanc || dernier == QLatin1Char('E'))
        ajouter(QStringLiteral("-"));
    else if (dernier == QLatin1Char('-'))
        ajouter(QStringLiteral(" -"));
    else if (saisie_.isEmpty())
        ajouter(QStringLiteral("-"));
    else
        ajouter(QStringLiteral(" - "));
}

void CalculatorSession::ans()
{
    if (erreurCalcul_ == calculReussi)
        saisie_ += sansBlancsAuxBords(derniereReponse_);
    montrer();
}

void CalculatorSession::raz()
{
    saisie_.clear();
    motEnCours_.clear();
    montrer();
}

void CalculatorSession::efface()
{
    if (!motEnCours_.isEmpty()) {
        motEnCours_.chop(1);
        montrer();
        return;
    }
    if (saisie_.isEmpty())
        return;
    const qsizetype n = saisie_.size();
    if (saisie_.back() != blanc) {
        saisie_.chop(1);
    } else if (n >= 2 && QStringLiteral("*+/-^").contains(saisie_[n - 2])) {
        saisie_.chop(std::min<qsizetype>(3, n));  // a padded operator
    } else {
        // A function name and its blank: back to the blank or "(" before it.
        qsizetype k = n - 2;
        while (k >= 0 && saisie_[k] != blanc && saisie_[k] != QLatin1Char('('))
            --k;
        saisie_.truncate(k + 1);
    }
    montrer();
}

void CalculatorSession::exe()
{
    erreurCalcul_ = calculReussi;
    const QString copie = saisie_;
    affichage_ = textePatience();
    QString resultat = copie;
    evaluer(resultat, erreurCalcul_, radians_ ? modeRadians : modeDegres);
    QString texte;
    if (erreurCalcul_ == calculReussi) {
        const std::optional<double> valeur = relireResultat(resultat);
        if (!valeur) {
            // A result at the very top of the double range cannot be read back.
            affichage_ = texteDepassement();
            derniereReponse_ = affichage_;
            erreurCalcul_ = calculImpossible;  // no last answer until the next success
            saisie_.clear();
            if (bip)
                bip();
            return;
        }
        texte = texteResultat(*valeur);
    } else {
        texte = messageErreur(erreurCalcul_);
        if (bip)
            bip();
    }
    affichage_ = texte;
    derniereReponse_ = texte;
    saisie_ = erreurCalcul_ == calculReussi ? QString() : copie;
}

void CalculatorSession::memoirePlus()
{
    const LectureNombre lu = lireNombre(affichage_);
    const double somme = calculatriceCommune().memoire + lu.valeur;
    if (!lu.depassement && std::isfinite(somme))
        calculatriceCommune().memoire = somme;
}

void CalculatorSession::memoireMoins()
{
    const LectureNombre lu = lireNombre(affichage_);
    const double difference = calculatriceCommune().memoire - lu.valeur;
    if (!lu.depassement && std::isfinite(difference))
        calculatriceCommune().memoire = difference;
}

void CalculatorSession::rappelMemoire()
{
    const double m = calculatriceCommune().memoire;
    ajouter(scientifique_ ? texteResultat(m) : texteNombreNu(m));
}

void CalculatorSession::effaceMemoire()
{
    calculatriceCommune().memoire = 0.0;
}

bool CalculatorSession::lettre(QChar touche)
{
    if (!touche.isLetter())
        return false;
    const QString mot = motEnCours_ + touche.toLower();
    bool debut = false;
    bool plusLong = false;
    QString complet;
    for (const QString& nom : nomsTapes()) {
        if (!nom.startsWith(mot))
            continue;
        debut = true;
        if (nom == mot)
            complet = nom;
        else
            plusLong = true;
    }
    if (!debut) {
        // "e" or "d" alone is the exponent (a name starting with "e" was not
        // followed).
        const char16_t c = touche.toLower().unicode();
        if (motEnCours_.isEmpty() && (c == u'e' || c == u'd'))
            return frappe(touche);
        return false;
    }
    if (!complet.isEmpty() && !plusLong) {
        motEnCours_.clear();
        if (const ToucheMachine* t = toucheMachine(toucheDuNomTape(complet)))
            appuyer(*t);
        return true;
    }
    motEnCours_ = mot;
    montrer();
    return true;
}

bool CalculatorSession::finirMot()
{
    if (motEnCours_.isEmpty())
        return true;
    if (motEnCours_ != QLatin1String("e"))
        return false;
    motEnCours_.clear();
    ajouter(QStringLiteral("E"));
    return true;
}

bool CalculatorSession::frappe(QChar touche)
{
    const char16_t c = touche.unicode();
    if (c >= u'0' && c <= u'9') {
        ajouter(QString(touche));
    } else if (c == u'.' || c == u',') {
        // The French decimal comma (and the keypad's separator on a French
        // keyboard) is the calculator's decimal point.
        ajouter(QStringLiteral("."));
    } else if (c == u'e' || c == u'd' || c == u'E' || c == u'D') {
        ajouter(QStringLiteral("E"));
    } else if (c == u'(') {
        ajouterFonction(QStringLiteral("("));
    } else if (c == u')') {
        ajouter(QStringLiteral(")"));
    } else if (c == u'*') {
        multip();
    } else if (c == u'+') {
        plus();
    } else if (c == u'-') {
        moins();
    } else if (c == u'/') {
        div();
    } else if (c == u'^') {
        puissance();
    } else if (c == 8) {
        efface();
    } else if (c == 13) {
        exe();
    } else {
        return false;
    }
    return true;
}

}  // namespace tolvi
