#pragma once
// The calculator as the pupil drives it, without any widget: the keys build
// the expression `saisie` as text, EXE hands it to the evaluator and shows the
// result in the Standard or Scientifique display. The window `Machine` and the
// batch option --eval both work through this class.

#include <QString>
#include <QStringView>
#include <functional>
#include <optional>
#include <vector>

namespace tolvi {

// Kept for the whole run: reopening the calculator finds its memory again.
struct CalculatriceCommune {
    double memoire = 0.0;
};
CalculatriceCommune& calculatriceCommune();

// What a key does.
enum class ActionTouche {
    Texte,      // appends its text
    Fonction,   // appends " * " first after a number or ")", then its text
    Plus, Moins, Multip, Div, Puissance, Carre,
    Ans, Raz, Efface, Exe,
    MemoirePlus, MemoireMoins, RappelMemoire, EffaceMemoire,
};

// One key of the calculator: control name, caption ("&" marks the shortcut
// letter), tooltip (may be empty), action and the text it appends.
struct ToucheMachine {
    QString nom;
    QString legende;
    QString infobulle;
    ActionTouche action;
    QString texte;
};

// Every key, in the order of the key tables.
const std::vector<ToucheMachine>& touchesMachine();
// The key of that control name, or nullptr.
const ToucheMachine* toucheMachine(const QString& nom);

// Text shown while a calculation runs.
QString textePatience();
// Message shown for a failed calculation (codes 1, 2, 3).
QString messageErreur(qint16 erreurCalcul);
// Message shown when the result is beyond the double range.
QString texteDepassement();

// The value a successful result shows: read, written with 15 significant
// digits and read back; nothing when either reading is beyond the double
// range ("Dépassement de capacité").
std::optional<double> relireResultat(QStringView resultat);

class CalculatorSession {
public:
    CalculatorSession();

    // Angle mode read at each calculation: radians, or degrees (the default).
    void setRadians(bool radians) { radians_ = radians; }
    bool radians() const { return radians_; }
    // Display mode: Scientifique or Standard (the default). When a result is
    // on show it is shown again in the new mode (C_Click).
    void setScientific(bool scientific);
    bool scientific() const { return scientifique_; }

    // Batch use: types `typed` right after the previous calculation (a failed
    // expression is first cleared with AC), presses EXE and returns the text
    // then shown. Characters of the keyboard table act as on the calculator
    // ("+" first continues from the last answer, "(" after a number adds
    // " * "); other characters are written as they are, as the function keys
    // write "sin ", "invSIN ", "ln "... The last answer and the memory are
    // kept from one call to the next.
    QString evaluate(const QString& typed);

    // The keys.
    void appuyer(const ToucheMachine& touche);
    void ajouter(const QString& texte);          // plain keys
    void ajouterFonction(const QString& texte);  // function keys
    void plus();
    void moins();
    void multip();
    void div();
    void puissance();
    void carre();
    void ans();
    void raz();
    void efface();
    void exe();
    void memoirePlus();
    void memoireMoins();
    void rappelMemoire();
    void effaceMemoire();
    // Form_KeyPress: a typed character; false when the calculator ignores it.
    // "," is read as "." (the French decimal comma).
    bool frappe(QChar touche);
    // A letter typed in the window: a function name ("sqrt", "sin", "pi"...)
    // is taken letter by letter and, once whole, written as its key writes
    // it. A lone "e" (or "d") is the exponent E, as frappe takes it. False
    // when the letter starts no name: it is refused, nothing is written.
    bool lettre(QChar touche);
    // The letters of a name typed so far, shown after the expression.
    const QString& motEnCours() const { return motEnCours_; }
    // The expression as the display shows it while it is typed.
    QString saisieMontree() const
    {
        return saisie_ + (motEnCours_ == QLatin1String("e") ? QStringLiteral("E") : motEnCours_);
    }
    // Before any other key: a lone "e" becomes the exponent E. False while
    // an unfinished name is pending: the key must be refused.
    bool finirMot();

    const QString& affichage() const { return affichage_; }  // the display z1
    const QString& saisie() const { return saisie_; }
    const QString& derniereReponse() const { return derniereReponse_; }
    qint16 erreurCalcul() const { return erreurCalcul_; }
    double memoire() const { return calculatriceCommune().memoire; }

    // Called for every failure shown in the display.
    std::function<void()> bip;

private:
    // The expression shown with the letters of a name being typed; a lone
    // "e" shows as the exponent E it becomes unless a name follows.
    void montrer() { affichage_ = saisieMontree(); }
    void ansSiVide();
    QString texteResultat(double valeur) const;

    QString saisie_;
    QString motEnCours_;
    QString derniereReponse_;
    QString affichage_;
    qint16 erreurCalcul_ = 0;
    bool radians_ = false;
    bool scientifique_ = false;
};

}  // namespace tolvi
