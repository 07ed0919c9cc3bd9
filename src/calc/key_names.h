#pragma once
// What a screen reader says of each calculator key: a French name that reads
// well aloud ("racine carrée" for √, "divisé par" for ÷) and a description
// of what the key writes or does, with its keyboard key when it has one.
// The captions on the keys stay as they are.

#include <QString>

namespace tolvi {

struct NomParle {
    QString nom;
    QString description;
};

// The spoken name and description of the key of that control name ("B7",
// "racine", "EXE", ...); empty texts for a name that is no key.
NomParle nomParle(const QString& nomTouche);

}  // namespace tolvi
