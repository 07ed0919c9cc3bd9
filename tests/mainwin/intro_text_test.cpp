#include "mainwin/intro_text.h"
#include "window_fixture.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QLineEdit>

using namespace tolvi;
using tolvi::testing::WindowTest;

namespace {

// The format of the character at `position`; a line break has the format of
// the paragraph's end.
QTextCharFormat formatAt(QTextDocument& doc, int position)
{
    const QTextBlock block = doc.findBlock(position);
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment f = it.fragment();
        if (f.position() <= position && position < f.position() + f.length())
            return f.charFormat();
    }
    return block.charFormat();
}

int find(const QString& text, const QString& what, int from = 0)
{
    const int at = int(text.indexOf(what, from));
    EXPECT_GE(at, 0) << what.toStdString();
    return at;
}

}  // namespace

TEST(IntroText, TextBeginsWithTheTitleAndEndsWithoutALineBreak)
{
    QTextDocument doc;
    ecritIntro(doc);
    const QString text = doc.toPlainText();
    EXPECT_TRUE(text.startsWith(QStringLiteral("Tolvi\n\nCe simulateur permet d'étudier")));
    EXPECT_TRUE(text.endsWith(QStringLiteral("dans le menu Exercices.")));
    EXPECT_TRUE(text.contains(QStringLiteral("points M1 et M2 sur la corde (utiliser la souris)")));
    EXPECT_TRUE(text.contains(QStringLiteral("l'onglet Exercices.\n\nPour vous familiariser")));
    EXPECT_EQ(doc.blockCount(), int(text.count(QLatin1Char('\n'))) + 1);

    // Writing it again gives the same text (after the exercise window closes).
    ecritIntro(doc);
    EXPECT_EQ(doc.toPlainText(), text);
}

TEST(IntroText, EachPieceHasItsStyle)
{
    QTextDocument doc;
    ecritIntro(doc);
    const QString text = doc.toPlainText();
    const QColor blue(0, 0, 200), black(0, 0, 0);

    // Title: Arial 18, blue, centred paragraph.
    const QTextCharFormat title = formatAt(doc, 0);
    EXPECT_EQ(title.fontPointSize(), 18.0);
    EXPECT_EQ(title.foreground().color(), blue);
    EXPECT_TRUE(title.fontFamilies().toStringList().contains(QStringLiteral("Arial")));
    EXPECT_EQ(doc.firstBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(doc.firstBlock().next().next().blockFormat().alignment() & Qt::AlignHorizontal_Mask,
              Qt::AlignLeft);

    // Base text: Arial 10, black, upright, not bold, on the base line.
    const int base = find(text, QStringLiteral("Ce simulateur"));
    const QTextCharFormat plain = formatAt(doc, base);
    EXPECT_EQ(plain.fontPointSize(), 10.0);
    EXPECT_EQ(plain.foreground().color(), black);
    EXPECT_FALSE(plain.fontItalic());
    EXPECT_FALSE(plain.fontUnderline());
    EXPECT_LT(plain.fontWeight(), QFont::DemiBold);
    EXPECT_EQ(plain.baselineOffset(), 0.0);

    // Blue pieces, and the black text right around them.
    // Whole pieces; the character after each is black again.
    const char* const blues[] = {
        "utiliser le chronomètre du simulateur ou le pointeur sur le graphe pour mesurer une durée.",
        "La source est représentée par la règle rouge", "Exercices", "Prise en main "};
    for (const char* piece : blues) {
        const QString words = QString::fromUtf8(piece);
        const int at = find(text, words, find(text, QStringLiteral("Ce simulateur")));
        for (int i = at; i < at + words.size(); ++i)
            ASSERT_EQ(formatAt(doc, i).foreground().color(), blue) << piece << " at " << i - at;
        EXPECT_EQ(formatAt(doc, at + int(words.size())).foreground().color(), black) << piece;
        EXPECT_EQ(formatAt(doc, at - 1).foreground().color(), black) << piece;
        EXPECT_EQ(formatAt(doc, at).fontPointSize(), 10.0);
    }
    EXPECT_EQ(formatAt(doc, find(text, QStringLiteral(" (à gauche)"))).foreground().color(), black);
    EXPECT_EQ(formatAt(doc, find(text, QStringLiteral("ralentie : ")) + 10).foreground().color(), black);

    // M1 and M2: the digits lowered, same size, the M on the base line.
    for (const QString& marker : {QStringLiteral("M1"), QStringLiteral("M2")}) {
        const int at = find(text, marker);
        EXPECT_EQ(formatAt(doc, at).baselineOffset(), 0.0);
        const QTextCharFormat digit = formatAt(doc, at + 1);
        EXPECT_LT(digit.baselineOffset(), 0.0) << marker.toStdString();
        EXPECT_EQ(digit.fontPointSize(), 10.0);
        EXPECT_EQ(digit.foreground().color(), black);
        EXPECT_EQ(formatAt(doc, at + 2).baselineOffset(), 0.0);
    }
}

TEST_F(WindowTest, IntroductionIsReadOnlyAndDoesNotMarkTheTextAsEdited)
{
    window->Form_Load();
    QTextEdit* box = window->supertext();
    EXPECT_TRUE(box->isReadOnly());
    EXPECT_TRUE(box->toPlainText().startsWith(QStringLiteral("Tolvi")));
    EXPECT_EQ(box->textCursor().position(), 0);
    EXPECT_FALSE(box->textCursor().hasSelection());
    EXPECT_EQ(shared.texteModifie, 0);

    // With an exercise named in fich, a change of the text marks it.
    window->fich()->setText(QStringLiteral("ONDE1.E33"));
    box->setPlainText(QStringLiteral("Énoncé"));
    EXPECT_EQ(shared.texteModifie, 1);
}
