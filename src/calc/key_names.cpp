#include "calc/key_names.h"

#include <map>
#include <vector>

namespace tolvi {

namespace {

std::map<QString, NomParle> construireNoms()
{
    std::map<QString, NomParle> m;
    const char* const chiffres[10] = {"zéro", "un", "deux", "trois", "quatre",
                                      "cinq", "six", "sept", "huit", "neuf"};
    for (int i = 0; i <= 9; ++i)
        m[QStringLiteral("B%1").arg(i)] = {QString::fromUtf8(chiffres[i]),
                                           QStringLiteral("Écrit le chiffre %1 (touche %1)").arg(i)};
    const auto ajouter = [&m](const char* touche, const char* nom, const char* description) {
        m[QString::fromLatin1(touche)] = {QString::fromUtf8(nom), QString::fromUtf8(description)};
    };
    ajouter("Bpoint", "point décimal", "Écrit le séparateur décimal, un point (touche point ou virgule)");
    ajouter("BtoEXP", "exposant", "Écrit E : le nombre qui suit est la puissance de dix (touche E)");

    ajouter("pico", "pico", "Multiplie par dix puissance moins douze : écrit E-12");
    ajouter("nano", "nano", "Multiplie par dix puissance moins neuf : écrit E-9");
    ajouter("micro", "micro", "Multiplie par dix puissance moins six : écrit E-6");
    ajouter("mil", "milli", "Multiplie par dix puissance moins trois : écrit E-3");
    ajouter("kilo", "kilo", "Multiplie par dix puissance trois : écrit E+3");
    ajouter("mega", "méga", "Multiplie par dix puissance six : écrit E+6");
    ajouter("giga", "giga", "Multiplie par dix puissance neuf : écrit E+9");
    ajouter("tera", "téra", "Multiplie par dix puissance douze : écrit E+12");

    ajouter("bsin", "sinus", "Sinus du nombre qui suit, dans l'unité d'angle choisie");
    ajouter("Bcos", "cosinus", "Cosinus du nombre qui suit, dans l'unité d'angle choisie");
    ajouter("Btan", "tangente", "Tangente du nombre qui suit, dans l'unité d'angle choisie");
    ajouter("invsin", "arc sinus", "Angle dont le sinus est le nombre qui suit");
    ajouter("invcos", "arc cosinus", "Angle dont le cosinus est le nombre qui suit");
    ajouter("Btoncommande3", "arc tangente", "Angle dont la tangente est le nombre qui suit");
    ajouter("Bln", "logarithme népérien", "Logarithme népérien du nombre qui suit");
    ajouter("Blog", "logarithme décimal", "Logarithme décimal du nombre qui suit");
    ajouter("Bexp", "exponentielle", "e puissance le nombre qui suit");
    ajouter("B10x", "dix puissance", "Dix puissance le nombre qui suit");
    ajouter("racine", "racine carrée", "Racine carrée du nombre qui suit");
    ajouter("Command5", "inverse", "Un divisé par le nombre qui suit");
    ajouter("Bpo", "parenthèse ouvrante", "Ouvre une parenthèse (touche parenthèse ouvrante)");
    ajouter("bpf", "parenthèse fermante", "Ferme la parenthèse (touche parenthèse fermante)");
    ajouter("pi", "pi", "Écrit le nombre pi, 3,14159…");

    ajouter("plus", "plus", "Addition (touche plus)");
    ajouter("moins", "moins", "Soustraction, ou signe moins devant un nombre (touche moins)");
    ajouter("multip", "multiplié par", "Multiplication (touche astérisque)");
    ajouter("div", "divisé par", "Division (touche barre oblique)");
    ajouter("puissance", "puissance", "Élève à la puissance du nombre qui suit (touche accent circonflexe)");
    ajouter("btcarre", "au carré", "Élève au carré ce qui précède");

    ajouter("ANS", "dernière réponse", "Reprend le dernier résultat dans le calcul");
    ajouter("RAZ", "tout effacer", "Efface tout le calcul en cours");
    ajouter("EFFACE", "effacer", "Efface le dernier caractère écrit (touche retour arrière)");
    ajouter("EXE", "égal", "Calcule l'expression et affiche le résultat (touche Entrée)");
    ajouter("Command1", "mémoire plus", "Ajoute le résultat affiché à la mémoire");
    ajouter("Command2", "mémoire moins", "Soustrait le résultat affiché de la mémoire");
    ajouter("Command3", "rappel mémoire", "Écrit le nombre gardé en mémoire");
    ajouter("Command4", "effacer la mémoire", "Remet la mémoire à zéro");
    return m;
}

struct Acces {
    const char* touche;
    QKeyCombination raccourci;
    std::vector<const char*> noms;
};

// The letters marked in the captions ("&SIN", "INV C&OS", "l&n"...) are
// their shortcuts already; the keys drawn with a symbol get a letter of
// their own.
const std::vector<Acces>& acces()
{
    static const std::vector<Acces> a = {
        {"bsin", Qt::ALT | Qt::Key_S, {"sin"}},
        {"Bcos", Qt::ALT | Qt::Key_C, {"cos"}},
        {"Btan", Qt::ALT | Qt::Key_T, {"tan"}},
        {"invsin", Qt::ALT | Qt::Key_I, {"asin"}},
        {"invcos", Qt::ALT | Qt::Key_O, {"acos"}},
        {"Btoncommande3", Qt::ALT | Qt::Key_A, {"atan"}},
        {"Bln", Qt::ALT | Qt::Key_N, {"ln"}},
        {"Blog", Qt::ALT | Qt::Key_L, {"log"}},
        {"Bexp", Qt::ALT | Qt::Key_E, {"exp"}},
        {"B10x", Qt::ALT | Qt::Key_X, {}},
        {"racine", Qt::ALT | Qt::Key_R, {"sqrt", "rac"}},
        {"Command5", Qt::ALT | Qt::Key_V, {}},
        {"pi", Qt::ALT | Qt::Key_P, {"pi"}},
        {"btcarre", Qt::ALT | Qt::Key_K, {}},
        {"puissance", Qt::ALT | Qt::Key_Y, {}},
        {"ANS", Qt::ALT | Qt::Key_D, {}},
    };
    return a;
}

}  // namespace

AccesClavier accesClavier(const QString& nomTouche)
{
    for (const Acces& a : acces())
        if (nomTouche == QLatin1String(a.touche)) {
            AccesClavier r{QKeySequence(a.raccourci), {}};
            for (const char* n : a.noms)
                r.nomsTapes << QString::fromLatin1(n);
            return r;
        }
    return {};
}

QString toucheDuNomTape(const QString& nom)
{
    for (const Acces& a : acces())
        for (const char* n : a.noms)
            if (nom == QLatin1String(n))
                return QString::fromLatin1(a.touche);
    return {};
}

QStringList nomsTapes()
{
    QStringList noms;
    for (const Acces& a : acces())
        for (const char* n : a.noms)
            noms << QString::fromLatin1(n);
    return noms;
}

QString texteClavier(const QString& nomTouche)
{
    const AccesClavier a = accesClavier(nomTouche);
    if (a.raccourci.isEmpty())
        return {};
    QString clavier = a.raccourci.toString(QKeySequence::PortableText);
    if (!a.nomsTapes.isEmpty())
        clavier += QStringLiteral(" ; au clavier : ") + a.nomsTapes.join(QStringLiteral(" ou "));
    return clavier;
}

QString infobulleAvecClavier(const QString& nomTouche, const QString& infobulle)
{
    const QString clavier = texteClavier(nomTouche);
    if (clavier.isEmpty())
        return infobulle;
    QString texte = infobulle;
    if (texte.isEmpty()) {
        texte = nomParle(nomTouche).nom;
        if (!texte.isEmpty())
            texte[0] = texte[0].toUpper();
    }
    return texte + QStringLiteral(" (") + clavier + QLatin1Char(')');
}

NomParle nomParle(const QString& nomTouche)
{
    static const std::map<QString, NomParle> noms = construireNoms();
    const auto it = noms.find(nomTouche);
    return it == noms.end() ? NomParle{} : it->second;
}

}  // namespace tolvi
