// tolvi-author: builds Tolvi's exercise files from their readable sources.
//
//   tolvi-author build SOURCES OUTPUT    every *.exo of SOURCES into OUTPUT
//   tolvi-author text TEXTE.txt SORTIE.RTF
//   tolvi-author config CONFIG.txt SORTIE.P15
//   tolvi-author mesurer SOURCES TOLVI DONNEES   re-measures every stated figure
#include "author.h"

#include <QGuiApplication>
#include <QFile>
#include <QSaveFile>
#include <QTextStream>

using namespace tolvi;

namespace {
int usage(QTextStream& err)
{
    err << "Utilisation :\n"
           "  tolvi-author build SOURCES SORTIE      construit chaque exercice *.exo de SOURCES dans SORTIE\n"
           "  tolvi-author text TEXTE.txt SORTIE.RTF convertit un énoncé en RTF\n"
           "  tolvi-author config CONFIG.txt SORTIE.P15  convertit une configuration\n"
           "  tolvi-author mesurer SOURCES TOLVI DONNEES  refait chaque mesure des feuilles *.mesures\n"
           "      avec le programme TOLVI dans le dossier DONNEES et la compare aux valeurs annoncées\n";
    return 2;
}

bool readText(const QString& path, QString& text, QTextStream& err)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        err << path << " : lecture impossible\n";
        return false;
    }
    text = QString::fromUtf8(file.readAll());
    return true;
}
}  // namespace

int main(int argc, char** argv)
{
    // Documents and fonts need a GUI application; no window is ever shown.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() == 5 && args[1] == QLatin1String("mesurer")) {
        std::vector<author::MeasuredFigure> results;
        QString error;
        const bool ran = author::measureAll(args[2], args[3], args[4], &results, &error);
        bool agree = ran;
        for (const author::MeasuredFigure& r : results) {
            out << author::describe(r) << '\n';
            agree = agree && r.agrees();
        }
        if (!ran)
            err << error << '\n';
        return agree ? 0 : 1;
    }
    if (args.size() != 4)
        return usage(err);
    const QString& command = args[1];
    if (command == QLatin1String("build")) {
        QStringList written;
        QString error;
        const bool ok = author::buildAll(args[2], args[3], &written, &error);
        for (const QString& name : written)
            out << name << '\n';
        if (!ok) {
            err << error << '\n';
            return 1;
        }
        return 0;
    }
    QString text;
    if (command == QLatin1String("text")) {
        if (!readText(args[2], text, err))
            return 1;
        QSaveFile file(args[3]);
        const QByteArray rtf = author::markupToRtf(text);
        if (!file.open(QIODevice::WriteOnly) || file.write(rtf) != rtf.size() || !file.commit()) {
            err << args[3] << " : écriture impossible\n";
            return 1;
        }
        return 0;
    }
    if (command == QLatin1String("config")) {
        if (!readText(args[2], text, err))
            return 1;
        QString error;
        const auto config = author::parseConfiguration(text, &error);
        if (!config) {
            err << args[2] << ", " << error << '\n';
            return 1;
        }
        const RecordStatus status = saveConfig(args[3], *config);
        if (!status.ok()) {
            err << args[3] << " : " << status.message << '\n';
            return 1;
        }
        return 0;
    }
    return usage(err);
}
