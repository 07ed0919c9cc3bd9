// The exercise window and its menu, driven as a pupil drives them: the
// shipped activities, the chooser's preview, the open / correction / close
// states, every failure message, and the text commands.
#include "app/program.h"
#include "app/program_folder.h"
#include "config/config_codec.h"
#include "config/record_file.h"
#include "exercises/exercise_file.h"
#include "exercises/exercise_menu.h"
#include "exercises/rtf_writer.h"
#include "mainwin/feuille_p.h"
#include "mainwin/image_button.h"
#include "same_file.h"

#include <QAction>
#include <QDir>
#include <QGroupBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTextEdit>
#include <gtest/gtest.h>

using namespace tolvi;
using tolvi::testing::shownPath;

namespace {

class ExerciseWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(programFolder.isValid());
        program.window().setProgramDirectory(programFolder.path());
        program.window().Form_Load();
        folder = dir.path() + QLatin1Char('/');
    }
    void TearDown() override { program.window().timer1().stop(); }

    ExerciseMenu& menu() { return program.exercises(); }
    FeuilleP& main() { return program.window(); }
    SharedState& shared() { return program.shared(); }
    QString text() { return main().supertext()->toPlainText(); }
    QString fich() { return main().fich()->text(); }

    void writeText(const QString& name, const QString& content)
    {
        QTextDocument doc;
        doc.setPlainText(content);
        QFile file(folder + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(writeRtf(doc));
    }
    void writeConfig(const QString& name, int farEnd)
    {
        ConfigRecords config;
        config.farEnd = {farEnd == 0, farEnd == 1, farEnd == 2};
        ASSERT_TRUE(saveConfig(folder + name, config).ok());
    }
    void writeExercise(const QString& name, const ExerciseRecords& records)
    {
        ASSERT_TRUE(saveExercise(folder + name, records).ok());
    }
    // Opens an exercise of `folder` through the chooser, as a click then "Ouvrir".
    void openThroughChooser(const QString& name)
    {
        Fichexo& w = menu().window();
        w.setDirPath(folder);
        const int index = static_cast<int>(w.files().indexOf(name));
        ASSERT_GE(index, 0) << name.toStdString();
        w.selectFile(index);
        menu().run(&Fichexo::ouvreur_Click);
    }
    // A corrected exercise: statement, fixed end; correction, free end.
    ExerciseRecords corrected()
    {
        writeText(QStringLiteral("ENONCE.RTF"), QStringLiteral("Énoncé de l'exercice"));
        writeText(QStringLiteral("CORRIGE.RTF"), QStringLiteral("Correction de l'exercice"));
        writeConfig(QStringLiteral("ENONCE.P15"), 1);
        writeConfig(QStringLiteral("CORRIGE.P15"), 2);
        ExerciseRecords r;
        r.statement = QStringLiteral("ENONCE.RTF");
        r.configuration = QStringLiteral("ENONCE.P15");
        r.correction = QStringLiteral("CORRIGE.RTF");
        r.correctionConfiguration = QStringLiteral("CORRIGE.P15");
        r.title = QStringLiteral("Essai");
        return r;
    }
    const ScriptedMessages::Asked* lastAsked() const
    {
        return messages.asked().empty() ? nullptr : &messages.asked().back();
    }

    tolvi::testing::ProgramFolder programFolder;
    ScriptedMessages messages;
    Program program{messages, 1};
    QTemporaryDir dir;
    QString folder;
};

TEST_F(ExerciseWindow, ShippedActivityAndExercisesOpenFromTheBuild)
{
    const QString programDir = programFolder.path() + QLatin1Char('/');
    menu().run(&Fichexo::PRISENMAIN_Click);
    EXPECT_EQ(fich(), programDir + QStringLiteral("TOLVI.PEM"));
    EXPECT_TRUE(text().startsWith(QStringLiteral("Prise en main de Tolvi")));
    EXPECT_FALSE(main().supertext()->isReadOnly());
    EXPECT_EQ(shared().exoOuvert, 0);
    EXPECT_EQ(shared().texteModifie, 0);
    EXPECT_EQ(main().windowTitle(), QStringLiteral("Tolvi - ") + shownPath(programDir + QStringLiteral("PRISEMAI.P15")));
    EXPECT_EQ(program.simulation().state().marqueBleue, 300);  // 2,50 m
    EXPECT_FALSE(menu().windowLoaded());
    EXPECT_TRUE(messages.asked().empty());

    // The chooser starts in the program's folder and lists the exercises.
    Fichexo& w = menu().window();
    EXPECT_EQ(w.dirPath(), programDir);
    const QStringList names = w.files();
    EXPECT_EQ(names, (QStringList{"CELERITE.E33", "ECHO.E33", "INCERTA.E33", "MODELSIN.E33", "MODES.E33",
                                  "ONDESINU.E33", "PERIODIQ.E33", "PROPAGE.E33", "PYTHON.E33", "QUALITE.E33", "REFLEXIO.E33",
                                  "SIGNAL.E33", "TENSION.E33"}));
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        Fichexo& chooser = menu().window();
        chooser.selectFile(static_cast<int>(chooser.files().indexOf(name)));
        const bool correctedOne = chooser.label2()->text() == QStringLiteral("Exercice corrigé");
        EXPECT_TRUE(correctedOne);  // every shipped activity has its correction
        EXPECT_FALSE(chooser.titratexo()->text().isEmpty());
        menu().run(&Fichexo::ouvreur_Click);
        EXPECT_EQ(fich(), programDir + name);
        EXPECT_EQ(shared().exoOuvert, correctedOne ? 1 : 0);
        EXPECT_FALSE(text().isEmpty());
        EXPECT_TRUE(main().windowTitle().endsWith(QString(name).replace(QStringLiteral(".E33"), QStringLiteral(".P15"))));
        if (correctedOne) {
            const QString statement = text();
            menu().run(&Fichexo::opencor_Click);
            EXPECT_NE(text(), statement);
            EXPECT_TRUE(text().startsWith(QStringLiteral("Correction")));
            EXPECT_TRUE(main().supertext()->isReadOnly());
        }
    }
    EXPECT_TRUE(messages.asked().empty());
}

TEST_F(ExerciseWindow, PreviewShowsMarksNotionsTitleHourglassesAndCorrectedState)
{
    struct Case {
        const char* difficulty;
        std::array<bool, 3> lit;
        const char* time;
        int hourglasses;
    } cases[] = {
        {"3", {true, true, true}, " 4", 4},   {"1.5", {true, true, false}, "0", 0},
        {"1,5", {true, false, false}, "", 0}, {"", {false, false, false}, "-2", 0},
        {"2", {true, true, false}, "2.5", 2},
    };
    int n = 0;
    for (const Case& c : cases) {
        ExerciseRecords r;
        r.statement = QStringLiteral("A.RTF");
        r.difficulty = QString::fromLatin1(c.difficulty);
        r.expectedTime = QString::fromLatin1(c.time);
        r.unused = QStringLiteral("jamais montré");
        r.notions = {QStringLiteral("Onde "), QStringLiteral("   "), QStringLiteral("célérité"), QString()};
        r.title = QStringLiteral("  Titre %1  ").arg(n);
        if (n == 1)
            r.correctionConfiguration = QStringLiteral("C.P15");
        writeExercise(QStringLiteral("EX%1.E33").arg(n++), r);
    }
    // A lower-case extension is listed too; other files are not.
    writeExercise(QStringLiteral("petit.e33"), ExerciseRecords{});
    writeText(QStringLiteral("A.RTF"), QStringLiteral("x"));

    Fichexo& w = menu().window();
    w.setDirPath(folder);
    EXPECT_EQ(w.files(), (QStringList{"EX0.E33", "EX1.E33", "EX2.E33", "EX3.E33", "EX4.E33", "petit.e33"}));
    EXPECT_FALSE(w.intratro()->isHidden());
    for (int i = 0; i < n; ++i) {
        SCOPED_TRACE(i);
        w.selectFile(i);
        EXPECT_EQ(w.fichierexo()->text(), folder + QStringLiteral("EX%1.E33").arg(i));
        EXPECT_EQ(shared().cheminExo, folder);
        for (int m = 0; m < 3; ++m) {
            EXPECT_EQ(w.markLit(m), cases[i].lit[static_cast<std::size_t>(m)]);
            EXPECT_FALSE(w.image4(m)->isHidden());
        }
        EXPECT_EQ(w.text2()->text(), QString(cases[i].hourglasses, QChar(0x231B)));
        EXPECT_EQ(w.text1()->toPlainText(), QStringLiteral("Onde célérité"));
        EXPECT_EQ(w.titratexo()->text(), QStringLiteral("Titre %1").arg(i));
        const QString state = i == 1 ? QStringLiteral("Exercice corrigé") : QStringLiteral("Non corrigé");
        EXPECT_EQ(w.label2()->text(), state);
        EXPECT_EQ(w.label3()->text(), state);
        EXPECT_TRUE(w.intratro()->isHidden());
        EXPECT_FALSE(w.ouvreur()->isHidden());
    }
    EXPECT_EQ(w.label3()->pos(), w.label2()->pos() + QPoint(2, 2));
    EXPECT_EQ(w.ouvreur()->toolTip(), QStringLiteral("Ouvrir l'exercice sélectionné"));
    EXPECT_EQ(w.image5()->toolTip(), QStringLiteral("Fermer sans charger d'exercice"));
    // The title fades from pale yellow to white.
    EXPECT_EQ(titleColour(1, 18), QColor(255, 255, 161));
    EXPECT_EQ(titleColour(9, 18), QColor(255, 255, 205));
    EXPECT_EQ(titleColour(18, 18), QColor(255, 255, 255));
    w.grab().save(QStringLiteral("/tmp/fichexo.png"));
    EXPECT_TRUE(messages.asked().empty());
}

TEST_F(ExerciseWindow, PictureButtonsAreDrawnFinelyOnAFineScreen)
{
    Fichexo& w = menu().window();
    const auto shown = [](QWidget* widget, qreal ratio) {
        QImage image(widget->size() * ratio, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.scale(ratio, ratio);
        widget->render(&p, QPoint(), QRegion(), QWidget::DrawChildren);
        return image;
    };
    for (ImageButton* button : {w.ouvreur(), w.image5()}) {
        SCOPED_TRACE(button->objectName().toStdString());
        const QImage unit = shown(button, 1.0);
        const QImage fine = shown(button, 2.0);
        EXPECT_EQ(button->pixmap().devicePixelRatio(), 2.0);
        EXPECT_EQ(button->pixmap().size(), QSize(220, 68));
        // Real detail, not the unit picture with its pixels doubled.
        EXPECT_NE(fine, unit.scaled(unit.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation));
        // Back at one device pixel per unit, the same picture as before.
        EXPECT_EQ(shown(button, 1.0), unit);
        EXPECT_EQ(button->pixmap().devicePixelRatio(), 1.0);
    }
}

TEST_F(ExerciseWindow, OpenCorrectionCloseStates)
{
    writeExercise(QStringLiteral("CORR.E33"), corrected());
    const QString intro = text();
    EXPECT_TRUE(main().supertext()->isReadOnly());

    menu().updateEnabled();
    EXPECT_FALSE(menu().action(QStringLiteral("opencor"))->isEnabled());
    EXPECT_FALSE(menu().action(QStringLiteral("Closexo"))->isEnabled());

    openThroughChooser(QStringLiteral("CORR.E33"));
    EXPECT_SAME_FILE(fich(), folder + QStringLiteral("CORR.E33"));
    EXPECT_EQ(main().fich()->toolTip(), fich());
    EXPECT_EQ(text(), QStringLiteral("Énoncé de l'exercice"));
    EXPECT_FALSE(main().supertext()->isReadOnly());
    EXPECT_EQ(shared().exoOuvert, 1);
    EXPECT_EQ(program.simulation().state().typeBout, 1);
    EXPECT_FALSE(menu().windowLoaded());
    menu().updateEnabled();
    EXPECT_TRUE(menu().action(QStringLiteral("opencor"))->isEnabled());
    EXPECT_TRUE(menu().action(QStringLiteral("Closexo"))->isEnabled());

    // The pupil writes, then asks for the correction and accepts to lose it.
    main().supertext()->insertPlainText(QStringLiteral("ma réponse"));
    EXPECT_EQ(shared().texteModifie, 1);
    messages.script(Answer::Ok);
    menu().run(&Fichexo::opencor_Click);
    EXPECT_EQ(messages.asked().at(0).title, QStringLiteral("Abandon des données?"));
    EXPECT_EQ(text(), QStringLiteral("Correction de l'exercice"));
    EXPECT_TRUE(main().supertext()->isReadOnly());
    EXPECT_SAME_FILE(fich(), folder + QStringLiteral("CORR.E33"));
    EXPECT_EQ(shared().exoOuvert, 1);
    EXPECT_EQ(shared().texteModifie, 0);
    EXPECT_EQ(program.simulation().state().typeBout, 2);

    menu().run(&Fichexo::Closexo_Click);
    EXPECT_EQ(fich(), QString());
    EXPECT_EQ(text(), intro);
    EXPECT_TRUE(main().supertext()->isReadOnly());
    EXPECT_EQ(shared().exoOuvert, 0);
    EXPECT_EQ(shared().texteModifie, 0);
    EXPECT_EQ(program.simulation().state().typeBout, 2);  // the configuration stays
    menu().updateEnabled();
    EXPECT_FALSE(menu().action(QStringLiteral("Closexo"))->isEnabled());

    // "Prise en main": an open exercise without a correction.
    menu().run(&Fichexo::PRISENMAIN_Click);
    menu().updateEnabled();
    EXPECT_TRUE(menu().action(QStringLiteral("Closexo"))->isEnabled());
    EXPECT_FALSE(menu().action(QStringLiteral("opencor"))->isEnabled());

    // Only a correction configuration: the statement stays, locked.
    ExerciseRecords onlyConfig = corrected();
    onlyConfig.correction.clear();
    onlyConfig.configuration.clear();  // and opening sets no configuration
    writeExercise(QStringLiteral("CONF.E33"), onlyConfig);
    openThroughChooser(QStringLiteral("CONF.E33"));
    EXPECT_EQ(program.simulation().state().typeBout, 0);  // from TOLVI.PEM, untouched
    EXPECT_EQ(shared().exoOuvert, 1);
    menu().run(&Fichexo::opencor_Click);
    EXPECT_EQ(text(), QStringLiteral("Énoncé de l'exercice"));
    EXPECT_TRUE(main().supertext()->isReadOnly());
    EXPECT_EQ(program.simulation().state().typeBout, 2);

    // Names written on Windows, in another case, are found.
    ExerciseRecords otherCase = corrected();
    otherCase.statement = QStringLiteral("enonce.rtf");
    otherCase.configuration = QStringLiteral("Enonce.p15");
    writeExercise(QStringLiteral("CASSE.E33"), otherCase);
    openThroughChooser(QStringLiteral("CASSE.E33"));
    EXPECT_EQ(fich(), folder + QStringLiteral("CASSE.E33"));
    EXPECT_EQ(program.simulation().state().typeBout, 1);

    EXPECT_EQ(messages.asked().size(), 1u);  // the abandon question only
}

TEST_F(ExerciseWindow, FailuresSayWhatAndLeaveTheRightState)
{
    // A missing statement: the chooser stays, naming folder and file.
    ExerciseRecords missing = corrected();
    missing.statement = QStringLiteral("ABSENT.RTF");
    writeExercise(QStringLiteral("ABS.E33"), missing);
    openThroughChooser(QStringLiteral("ABS.E33"));
    ASSERT_NE(lastAsked(), nullptr);
    EXPECT_EQ(lastAsked()->kind, MessageKind::Critical);
    EXPECT_EQ(lastAsked()->title, QStringLiteral("Fichier absent"));
    EXPECT_EQ(lastAsked()->text, QStringLiteral("Le fichier ") + shownPath(folder + QStringLiteral("ABSENT.RTF")) + QStringLiteral(" est introuvable"));
    EXPECT_TRUE(menu().windowLoaded());
    EXPECT_TRUE(menu().window().frame2()->isHidden());
    EXPECT_EQ(fich(), QString());

    // A damaged exercise file: "Lecture impossible", in the preview and on opening.
    QByteArray damaged(128, '\0');
    damaged[0] = char(200);
    QFile bad(folder + QStringLiteral("BAD.E33"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write(damaged + QByteArray(128 * 4, '\0'));
    bad.close();
    messages.clear();
    Fichexo& w = menu().window();
    w.setDirPath(folder);
    w.fichierexo()->setText(folder + QStringLiteral("BAD.E33"));
    menu().run(&Fichexo::ouvreur_Click);
    ASSERT_NE(lastAsked(), nullptr);
    EXPECT_EQ(lastAsked()->title, QStringLiteral("Lecture impossible"));
    EXPECT_EQ(lastAsked()->text, QStringLiteral("Vérifier:\r\n- le nom du fichier,\r\n- l'état du lecteur."));
    EXPECT_TRUE(menu().windowLoaded());

    // A correction text that is missing: its configuration is not applied.
    ExerciseRecords noCorrection = corrected();
    noCorrection.correction = QStringLiteral("PERDU.RTF");
    writeExercise(QStringLiteral("PERDU.E33"), noCorrection);
    openThroughChooser(QStringLiteral("PERDU.E33"));
    messages.clear();
    menu().run(&Fichexo::opencor_Click);
    ASSERT_NE(lastAsked(), nullptr);
    EXPECT_EQ(lastAsked()->text, QStringLiteral("Le fichier ") + shownPath(folder + QStringLiteral("PERDU.RTF")) + QStringLiteral(" est introuvable"));
    EXPECT_EQ(program.simulation().state().typeBout, 1);
    EXPECT_EQ(text(), QStringLiteral("Énoncé de l'exercice"));
    EXPECT_EQ(main().cursor().shape(), Qt::ArrowCursor);

    // Getting started: no TOLVI.PEM does nothing; one naming a missing text says so.
    main().setProgramDirectory(dir.path());
    messages.clear();
    menu().run(&Fichexo::PRISENMAIN_Click);
    EXPECT_TRUE(messages.asked().empty());
    ExerciseRecords pem;
    pem.statement = QStringLiteral("NULLE.RTF");
    writeExercise(QStringLiteral("TOLVI.PEM"), pem);
    menu().run(&Fichexo::PRISENMAIN_Click);
    ASSERT_NE(lastAsked(), nullptr);
    EXPECT_EQ(lastAsked()->title, QStringLiteral("Erreur lors du chargement"));
    EXPECT_EQ(lastAsked()->text, QStringLiteral("Fichier introuvable. Revoir l'installation du logiciel."));
    EXPECT_FALSE(menu().windowLoaded());
}

TEST_F(ExerciseWindow, AbandonQuestionCancelKeepsTheEditedText)
{
    writeExercise(QStringLiteral("CORR.E33"), corrected());
    openThroughChooser(QStringLiteral("CORR.E33"));
    main().supertext()->insertPlainText(QStringLiteral("ma réponse "));
    const QString edited = text();
    ASSERT_EQ(shared().texteModifie, 1);
    int dialogs = 0;
    menu().context().dialogs.openText = [&](QWidget*) -> std::optional<QString> {
        ++dialogs;
        return folder + QStringLiteral("CORRIGE.RTF");
    };
    for (auto command : {&Fichexo::openexo_Click, &Fichexo::opencor_Click, &Fichexo::Closexo_Click,
                         &Fichexo::opentexte_Click, &Fichexo::PRISENMAIN_Click}) {
        messages.clear();
        messages.script(Answer::Cancel);
        menu().run(command);
        ASSERT_EQ(messages.asked().size(), 1u);
        EXPECT_EQ(messages.asked()[0].kind, MessageKind::QuestionOkCancel);
        EXPECT_EQ(messages.asked()[0].title, QStringLiteral("Abandon des données?"));
        EXPECT_EQ(messages.asked()[0].text, QStringLiteral("Attention: perte des modifications du texte."));
        EXPECT_EQ(text(), edited);
        EXPECT_EQ(shared().texteModifie, 1);
        EXPECT_SAME_FILE(fich(), folder + QStringLiteral("CORR.E33"));
    }
    EXPECT_EQ(dialogs, 0);
}

TEST_F(ExerciseWindow, TextCommandsSaveOpenAndPrint)
{
    writeExercise(QStringLiteral("CORR.E33"), corrected());
    openThroughChooser(QStringLiteral("CORR.E33"));
    main().supertext()->insertPlainText(QStringLiteral("Réponse : 3 m/s. "));
    const QString written = text();
    QString chosen = folder + QStringLiteral("reponse.rtf");
    bool cancel = false;
    ExerciseDialogs& d = menu().context().dialogs;
    d.saveText = [&](QWidget*) -> std::optional<QString> {
        if (cancel)
            return std::nullopt;
        return chosen;
    };
    d.openText = d.saveText;

    // A new name: no question; the file reads back as the text.
    menu().run(&Fichexo::savetexte_Click);
    EXPECT_TRUE(messages.asked().empty());
    EXPECT_EQ(shared().texteModifie, 0);
    EXPECT_TRUE(QFile::exists(chosen));

    // An existing name: the question names the bare file; Cancel writes nothing.
    main().supertext()->insertPlainText(QStringLiteral("encore"));
    QFile::resize(chosen, 10);
    messages.script(Answer::Cancel);
    menu().run(&Fichexo::savetexte_Click);
    ASSERT_EQ(messages.asked().size(), 1u);
    EXPECT_EQ(messages.asked()[0].title, QStringLiteral("Ecraser le fichier?"));
    EXPECT_EQ(messages.asked()[0].text, QStringLiteral("Le fichier reponse.rtf existe déjà.\r\nEcraser l'ancien?"));
    EXPECT_EQ(QFileInfo(chosen).size(), 10);
    EXPECT_EQ(shared().texteModifie, 1);
    messages.clear();
    messages.script(Answer::Ok);
    menu().run(&Fichexo::savetexte_Click);
    EXPECT_GT(QFileInfo(chosen).size(), 10);
    EXPECT_EQ(shared().texteModifie, 0);
    const QString saved = text();

    // Cancelling a dialog changes nothing.
    cancel = true;
    menu().run(&Fichexo::savetexte_Click);
    menu().run(&Fichexo::opentexte_Click);
    EXPECT_SAME_FILE(fich(), folder + QStringLiteral("CORR.E33"));
    cancel = false;

    // After the correction (locked), saving still works; loading a text unlocks.
    messages.clear();
    menu().run(&Fichexo::opencor_Click);
    EXPECT_TRUE(main().supertext()->isReadOnly());
    menu().run(&Fichexo::opentexte_Click);
    EXPECT_EQ(text(), saved);
    EXPECT_NE(saved, written);
    EXPECT_FALSE(main().supertext()->isReadOnly());
    EXPECT_EQ(fich(), QStringLiteral("Texte: ") + chosen);
    EXPECT_EQ(shared().exoOuvert, 0);
    EXPECT_EQ(shared().texteModifie, 0);
    menu().updateEnabled();
    EXPECT_FALSE(menu().action(QStringLiteral("opencor"))->isEnabled());
    EXPECT_TRUE(menu().action(QStringLiteral("Closexo"))->isEnabled());

    // Read and write errors.
    chosen = folder + QStringLiteral("pas-du-rtf.rtf");
    QFile junk(chosen);
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("bonjour");
    junk.close();
    menu().run(&Fichexo::opentexte_Click);
    ASSERT_NE(lastAsked(), nullptr);
    EXPECT_EQ(lastAsked()->title, QStringLiteral("Erreur de lecture."));
    EXPECT_EQ(lastAsked()->text, QStringLiteral("Ce fichier n'est pas un texte au format RTF."));
    EXPECT_EQ(text(), saved);
    // Empty, or RTF saved in UTF-16: not RTF either.
    for (const QByteArray& bytes : {QByteArray(), QByteArray("\xFF\xFE{\0\\\0r\0t\0f\0001\0}\0", 16)}) {
        ASSERT_TRUE(junk.open(QIODevice::WriteOnly | QIODevice::Truncate));
        junk.write(bytes);
        junk.close();
        messages.clear();
        menu().run(&Fichexo::opentexte_Click);
        ASSERT_NE(lastAsked(), nullptr);
        EXPECT_EQ(lastAsked()->text, QStringLiteral("Ce fichier n'est pas un texte au format RTF."));
        EXPECT_EQ(text(), saved);
    }
    EXPECT_EQ(fich(), QStringLiteral("Texte: ") + chosen);
    EXPECT_FALSE(main().supertext()->isReadOnly());
    main().supertext()->insertPlainText(QStringLiteral("x"));
    chosen = folder + QStringLiteral("nulle/part/texte.rtf");
    messages.clear();
    menu().run(&Fichexo::savetexte_Click);
    ASSERT_NE(lastAsked(), nullptr);
    EXPECT_EQ(lastAsked()->title, QStringLiteral("Erreur d'écriture."));
    // The text was not saved: closing must still warn about it.
    EXPECT_EQ(shared().texteModifie, 1);

    // Printing: nothing when the setup is cancelled, the text when chosen.
    const QString pdf = folder + QStringLiteral("texte.pdf");
    bool accept = false;
    d.setupPrinter = [&](QPrinter& printer, QWidget*) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return accept;
    };
    menu().run(&Fichexo::imprimetexte_Click);
    EXPECT_FALSE(QFile::exists(pdf));
    accept = true;
    menu().run(&Fichexo::imprimetexte_Click);
    EXPECT_GT(QFileInfo(pdf).size(), 500);
}

TEST_F(ExerciseWindow, MenuListsTheCommandsInOrderAndTheLauncherIsServed)
{
    QStringList captions;
    for (QAction* a : menu().optionexo()->actions())
        captions.append(a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(captions, (QStringList{"Prise en main", "-", "Ouvrir un exercice (énoncé + configuration)",
                                     "Voir la correction", "-", "Enregistrer le contenu de la fenêtre exercice",
                                     "Retrouver un texte", "Imprimer le contenu de la fenêtre exercice", "-",
                                     "Fermer l'exercice"}));
    // btexo pops the menu up with the rules applied and the window loaded.
    shared().exoOuvert = 1;
    main().btexo()->clicked();
    EXPECT_TRUE(menu().windowLoaded());
    EXPECT_TRUE(menu().action(QStringLiteral("opencor"))->isEnabled());
    EXPECT_FALSE(menu().action(QStringLiteral("Closexo"))->isEnabled());
    menu().optionexo()->hide();
    menu().run(&Fichexo::Image5_Click);
    EXPECT_FALSE(menu().windowLoaded());
    shared().exoOuvert = 0;

    // The launcher's request (record 31 of the flag file), served at activation.
    writeExercise(QStringLiteral("CORR.E33"), corrected());
    main().setProgramDirectory(dir.path());
    QFile flag(folder + QStringLiteral("TEMPQA.TMP"));
    ASSERT_TRUE(flag.open(QIODevice::WriteOnly));
    QByteArray records(128 * 31, '\0');
    records[128 * 30] = 8;
    records.replace(128 * 30 + 2, 8, "CORR.E33");
    flag.write(records);
    flag.close();
    main().Form_Activate();
    EXPECT_SAME_FILE(fich(), folder + QStringLiteral("CORR.E33"));
    EXPECT_EQ(text(), QStringLiteral("Énoncé de l'exercice"));
    EXPECT_EQ(shared().exoOuvert, 1);
    EXPECT_EQ(program.simulation().state().typeBout, 1);

    // The request's name in another letter case finds the file, as names
    // inside exercise files do.
    main().fich()->clear();
    shared().exoOuvert = 0;
    ASSERT_TRUE(writeRecord(folder + QStringLiteral("TEMPQA.TMP"), 31, QStringLiteral("corr.e33 ")).ok());
    messages.clear();
    main().Form_Activate();
    EXPECT_TRUE(messages.asked().empty()) << messages.asked()[0].text.toStdString();
    EXPECT_SAME_FILE(fich(), folder + QStringLiteral("CORR.E33"));
    EXPECT_EQ(shared().exoOuvert, 1);
    EXPECT_EQ(readRecord(folder + QStringLiteral("TEMPQA.TMP"), 31).text, QString());
}

}  // namespace
