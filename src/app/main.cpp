// qn470-config: the configuration window.
//
//   qn470-config [--screenshot FILE.png]

#include <QApplication>
#include <QCommandLineParser>
#include <QSettings>
#include <QTimer>
#include <cstdio>

#include "app/app_state.h"
#include "app/config_tool_app.h"
#include "app/main_frame.h"
#include "app/widget_prompter.h"
#include "pages/choice_runner.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("qn470-config"));
    QCoreApplication::setApplicationVersion(QStringLiteral("3.0"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("QN-470 tracker configuration window"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption screenshot(
        QStringLiteral("screenshot"),
        QStringLiteral("Show the window, save it as a PNG image to <file>, and exit."),
        QStringLiteral("file"));
    parser.addOption(screenshot);
    parser.process(application);

    QSettings settings(QLatin1String(qn470::kSettingsOrganization),
                       QLatin1String(qn470::kSettingsApplication));
    qn470::WidgetPrompter prompter;
    qn470::ModalChoiceRunner choices;
    qn470::AppState state(settings, prompter, choices);
    qn470::CconfigToolApp app(state);
    if (!app.initInstance()) {
        return 1;
    }

    if (parser.isSet(screenshot)) {
        const QString path = parser.value(screenshot);
        QTimer::singleShot(0, &application, [&app, &application, path] {
            if (!app.frame()->grab().save(path, "PNG")) {
                std::fprintf(stderr, "qn470-config: %s: cannot write the image\n",
                             qPrintable(path));
                application.exit(1);
                return;
            }
            application.exit(0);
        });
    }
    return application.exec();
}
