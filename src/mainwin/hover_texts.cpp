#include "mainwin/hover_texts.h"

namespace tolvi::hover {

QString general()
{
    return QStringLiteral("Vous pouvez modifier les paramètres,\nouvrir une configuration ou un exercice");
}

QString messageCopie()
{
    return QStringLiteral(
        "L'image est copiée : vous pouvez la retrouver depuis toute application Windows (coller)");
}

QString command2() { return QStringLiteral("Pour retrouver une situation enregistrée"); }
QString command11() { return QStringLiteral("Pour conserver la configuration en cours"); }
QString command4()
{
    return QStringLiteral("Copier pour placer l'image dans le presse- papiers puis coller depuis Word, Paint...");
}
QString command10() { return QStringLiteral("Pour configurer l'imprimante et imprimer l'image"); }
QString command8() { return QStringLiteral("Machine à calculer"); }
QString command7() { return QStringLiteral("Si vous rencontrez une difficulté avec cette application"); }
QString command1() { return QStringLiteral("Pour retrouver le module principal et quitter cette application"); }
QString frame2()
{
    return QStringLiteral("Définir les caractéristiques de la déformation (durée, amplitude, fréquence...)");
}
QString picture3() { return QStringLiteral("Les caractéristiques de la corde sont modifiables"); }
QString picture1() { return QStringLiteral("Paramètres du chronomètre et du graphe"); }
QString btexo()
{
    return QStringLiteral("Ouvrir un énoncé, enregistrer le texte, obtenir la correction, imprimer ou fermer.");
}
QString animpic() { return QStringLiteral("Utiliser la souris pour placer ou enlever les marqueurs"); }
QString picture2()
{
    return QStringLiteral(
        "Pour paramétrer le graphe : placer des marqueurs sur la corde et utiliser l'onglet Outils");
}

QString animpicKeys()
{
    // Two lines of the hint line at most.
    return QStringLiteral("Flèches : curseur (Maj : 10 cm) ; B, R : marqueurs ; Suppr : ôter ; Entrée : abscisse");
}

QString picture2Keys()
{
    return QStringLiteral("Flèches : déplacer le curseur sur le graphe (Maj : par 10) ; Origine, Fin : aux bouts");
}

}  // namespace tolvi::hover
