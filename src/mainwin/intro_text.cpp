#include "mainwin/intro_text.h"

#include <QFont>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace tolvi {

const std::vector<IntroPiece>& introPieces()
{
    using S = IntroStyle;
    static const std::vector<IntroPiece> pieces = {
        {QStringLiteral("Tolvi\n"), S::Title},
        {QStringLiteral("\nCe simulateur permet d'étudier la propagation d'un signal transversal le long d'une "
                        "corde.\nLa longueur de la corde est de 7 m.\n\n"),
         S::Base},
        {QStringLiteral("Pour améliorer l'observation, l'animation est ralentie : "), S::Base},
        {QStringLiteral("utiliser le chronomètre du simulateur ou le pointeur sur le graphe pour mesurer une "
                        "durée."),
         S::Emphasis},
        {QStringLiteral("\n"), S::Base},
        {QStringLiteral("\n"), S::Base},
        {QStringLiteral("La source est représentée par la règle rouge"), S::Blue},
        {QStringLiteral(" (à gauche) et l'autre extrémité peut être fixe, libre ou placée dans un dispositif "
                        "absorbant empêchant toute réflexion.\n\n"),
         S::Base},
        {QStringLiteral("Vous pouvez marquer deux points M"), S::Base},
        {QStringLiteral("1"), S::Lowered},
        {QStringLiteral(" et M"), S::Base},
        {QStringLiteral("2"), S::Lowered},
        {QStringLiteral(" sur la corde"), S::Base},
        {QStringLiteral(" (utiliser la souris) et obtenir les graphes donnant l'évolution temporelle de la"),
         S::Base},
        {QStringLiteral(" déformation en ces points.\n\n"), S::Base},
        {QStringLiteral("Tous les paramètres sont modifiables et l'image obtenue peut être imprimée ou placée "
                        "dans le presse-papiers "),
         S::Base},
        {QStringLiteral("(bouton Copier) pour la coller dans une autre application.\n\n"), S::Base},
        {QStringLiteral("Vous pouvez obtenir l'énoncé d'un exercice "), S::Base},
        {QStringLiteral("dans cette fenêtre en appuyant sur l'onglet "), S::Base},
        {QStringLiteral("Exercices"), S::Blue},
        {QStringLiteral(".\n\n"), S::Base},
        {QStringLiteral("Pour vous familiariser avec ce simulateur, choisissez d'abord l'activité "), S::Base},
        {QStringLiteral("Prise en main "), S::Blue},
        {QStringLiteral("dans le menu Exercices."), S::Base},
    };
    return pieces;
}

namespace {

QTextCharFormat charFormat(IntroStyle style)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(style == IntroStyle::Title ? 18.0 : 10.0);
    font.setBold(false);
    font.setItalic(false);
    font.setUnderline(false);
    QTextCharFormat f;
    f.setFont(font, QTextCharFormat::FontPropertiesAll);
    f.setFontFamilies({QStringLiteral("Arial")});
    const bool blue = style == IntroStyle::Blue || style == IntroStyle::Emphasis || style == IntroStyle::Title;
    f.setForeground(blue ? QColor(0, 0, 200) : QColor(0, 0, 0));
    f.setVerticalAlignment(QTextCharFormat::AlignNormal);
    if (style == IntroStyle::Lowered) {
        // Same size, base line lowered. Qt gives the offset as a share of
        // the font's height (ascent + descent) in pixels.
        const QFontMetricsF metrics(font);
        const double pixelsPerPoint = QFontInfo(font).pixelSize() / font.pointSizeF();
        const double height = metrics.ascent() + metrics.descent();
        const double share = height > 0 ? kIntroLowering * pixelsPerPoint / height : 0.25;
        f.setBaselineOffset(-100.0 * share);
    } else {
        f.setBaselineOffset(0.0);
    }
    return f;
}

}  // namespace

void ecritIntro(QTextDocument& document)
{
    document.clear();
    QTextCursor cursor(&document);
    const QTextCharFormat base = charFormat(IntroStyle::Base);
    cursor.setCharFormat(base);
    QTextBlockFormat left;
    left.setAlignment(Qt::AlignLeft);
    cursor.setBlockFormat(left);

    QString all;
    for (const IntroPiece& piece : introPieces())
        all += piece.text;
    cursor.insertText(all, base);

    // Style each piece over exactly its characters (a line break is one).
    int start = 0;
    for (const IntroPiece& piece : introPieces()) {
        const int length = int(piece.text.size());
        QTextCursor c(&document);
        c.setPosition(start);
        c.setPosition(start + length, QTextCursor::KeepAnchor);
        c.setCharFormat(charFormat(piece.style));
        QTextBlockFormat block;
        block.setAlignment(piece.style == IntroStyle::Title ? Qt::AlignHCenter : Qt::AlignLeft);
        // Only the paragraphs the piece's text lies in: a piece ending with a
        // line break does not reach into the next paragraph.
        QTextCursor b(&document);
        b.setPosition(start);
        b.setPosition(std::max(start, start + length - (piece.text.endsWith(QLatin1Char('\n')) ? 1 : 0)),
                      QTextCursor::KeepAnchor);
        b.mergeBlockFormat(block);
        start += length;
    }
}

}  // namespace tolvi
