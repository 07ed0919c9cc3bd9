#pragma once
// What a screen reader says of each calculator key: a French name that reads
// well aloud ("racine carrée" for √, "divisé par" for ÷) and a description
// of what the key writes or does, with its keyboard key when it has one.
// The captions on the keys stay as they are.

#include <QKeySequence>
#include <QString>
#include <QStringList>

namespace tolvi {

struct NomParle {
    QString nom;
    QString description;
};

// The spoken name and description of the key of that control name ("B7",
// "racine", "EXE", ...); empty texts for a name that is no key.
NomParle nomParle(const QString& nomTouche);

// The keyboard ways to a function key: its Alt shortcut (the letter marked
// in its caption, or one of its own for keys whose caption has none) and
// the names that, typed letter by letter, write the function as the key
// does ("sqrt" or "rac" for the square root).
struct AccesClavier {
    QKeySequence raccourci;
    QStringList nomsTapes;
};
// Empty for a key that has no keyboard way of its own (digits, operators).
AccesClavier accesClavier(const QString& nomTouche);
// The key whose typed names include `nom`, or an empty text.
QString toucheDuNomTape(const QString& nom);
// Every typed name, in the order of the keys.
QStringList nomsTapes();
// "Alt+R ; au clavier : sqrt ou rac": a key's keyboard ways, or an empty
// text.
QString texteClavier(const QString& nomTouche);
// The hover text of a key: its own text (or its spoken name when it has
// none) followed by its keyboard ways, "Racine carré (Alt+R ; au clavier :
// sqrt ou rac)"; the key's own text alone when it has no keyboard way.
QString infobulleAvecClavier(const QString& nomTouche, const QString& infobulle);

}  // namespace tolvi
