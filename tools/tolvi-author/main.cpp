// tolvi-author: builds Tolvi's exercise files from their readable sources.
//
//   tolvi-author build SOURCES OUTPUT    every *.exo of SOURCES into OUTPUT
//   tolvi-author text TEXTE.txt SORTIE.RTF
//   tolvi-author config CONFIG.cfg SORTIE.P15
//   tolvi-author mesurer SOURCES TOLVI DONNEES   re-measures every stated figure
//   tolvi-author --help
#include "author.h"
#include "platform/console.h"

#include <QGuiApplication>
#include <QTextStream>

using namespace tolvi;

namespace {
// The help text; the manual page tolvi-author(1) is made from it.
const char* const kHelp =
    "Utilisation : tolvi-author COMMANDE FICHIER...\n"
    "Construit des activités pour Tolvi à partir de sources écrites avec un simple\n"
    "éditeur de texte : la description d'un exercice (*.exo), ses énoncé et correction\n"
    "(*.txt, texte avec quelques marques de mise en forme) et ses configurations du\n"
    "simulateur (*.cfg, lignes « clé = valeur »). Les fichiers produits (*.E33, *.RTF,\n"
    "*.P15) s'ouvrent dans Tolvi avec le menu Exercices, « Ouvrir un exercice », ou\n"
    "par « tolvi EXERCICE.E33 ». Code 0 si tout est écrit, 1 si une source est\n"
    "incorrecte ou un fichier illisible (message en clair), 2 pour une commande\n"
    "incorrecte.\n"
    "\n"
    "Commandes :\n"
    "  build SOURCES SORTIE\n"
    "      construit chaque exercice *.exo du dossier SOURCES, avec les énoncés et les configurations qu'il nomme, dans le dossier SORTIE, et écrit le nom de chaque fichier produit\n"
    "      exemple : tolvi-author build mes-sources mes-exercices\n"
    "  text TEXTE.txt SORTIE.RTF\n"
    "      convertit un énoncé écrit avec les marques de mise en forme en texte RTF ; avec « - » pour SORTIE.RTF, il est écrit sur la sortie standard\n"
    "      exemple : tolvi-author text enonce.txt ENONCE.RTF\n"
    "  config CONFIG.cfg SORTIE.P15\n"
    "      convertit une description de configuration en fichier de configuration ; avec « - » pour SORTIE.P15, il est écrit sur la sortie standard\n"
    "      exemple : tolvi-author config depart.cfg DEPART.P15\n"
    "  mesurer SOURCES TOLVI DONNEES\n"
    "      refait chaque expérience des feuilles de mesures *.mesures de SOURCES avec le programme TOLVI, ses fichiers pris dans le dossier DONNEES, et écrit pour chaque valeur annoncée sa mesure et sa valeur physique (célérité √(T / µ), retard d / v, λ = v / f...) ; code 1 si une valeur annoncée s'écarte de sa mesure plus que sa tolérance, ou de sa valeur physique plus que ce qu'expliquent l'échantillonnage et l'arrondi\n"
    "      exemple : tolvi-author mesurer mes-sources /usr/bin/tolvi mes-exercices\n"
    "  --help\n"
    "      affiche cette aide\n"
    "      exemple : tolvi-author --help\n";

int usage(QTextStream& err)
{
    err << kHelp;
    return 2;
}

bool readText(const QString& path, QString& text, QTextStream& err)
{
    QString error;
    if (!author::readSourceText(path, &text, &error)) {
        err << error << '\n';
        return false;
    }
    return true;
}
}  // namespace

int main(int argc, char** argv)
{
    // Documents and fonts need a GUI application; no window is ever shown.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    tolvi::prepareBatchStreams();
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() == 2 && (args[1] == QLatin1String("--help") || args[1] == QLatin1String("-h"))) {
        out << kHelp;
        return 0;
    }
    if (args.size() == 5 && args[1] == QLatin1String("mesurer")) {
        std::vector<author::MeasuredFigure> results;
        QString error;
        const bool ran = author::measureAll(args[2], args[3], args[4], &results, &error);
        bool agree = ran;
        for (const author::MeasuredFigure& r : results) {
            out << author::describe(r) << '\n';
            agree = agree && r.agrees() && r.agreesWithPhysics();
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
        QString error;
        if (!author::writeOutput(args[3], author::markupToRtf(text), &error)) {
            err << error << '\n';
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
