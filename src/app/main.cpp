// qn470-config: the configuration window.
//
//   qn470-config [--demo] [--interval-ms N] [--screenshot FILE.png]

#include <QApplication>
#include <QCommandLineParser>
#include <QSettings>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "app/app_state.h"
#include "app/command_window.h"
#include "app/config_tool_app.h"
#include "app/demo_mode.h"
#include "app/main_frame.h"
#include "app/widget_prompter.h"
#include "pages/choice_runner.h"

namespace {

// Longest a demo screenshot waits for its load.
constexpr int kScreenshotLoadTimeoutMs = 10000;

int fail(const QString& message, int status) {
    std::fprintf(stderr, "qn470-config: %s\n", qPrintable(message));
    return status;
}

void saveScreenshot(qn470::CconfigToolApp& app, const QString& path) {
    if (!app.frame()->grab().save(path, "PNG")) {
        fail(QStringLiteral("%1: cannot write the image").arg(path), 1);
        QCoreApplication::exit(1);
        return;
    }
    QCoreApplication::exit(0);
}

// In demo mode the picture shows a connected window after a load, with the report in the
// receive log.
void screenshotAfterLoad(qn470::CconfigToolApp& app, const QString& path) {
    qn470::CCommandWindow* window = app.commandWindow();
    window->startStop();
    auto* session = &app.session();
    auto done = std::make_shared<bool>(false);
    const auto grab = [&app, path, done] {
        if (!*done) {
            *done = true;
            // Let the progress dialog go and the logs repaint first.
            QTimer::singleShot(50, [&app, path] { saveScreenshot(app, path); });
        }
    };
    QObject::connect(session, &qn470::DeviceSession::operationFinished, session, grab);
    QTimer::singleShot(kScreenshotLoadTimeoutMs, session, grab);
    if (!session->loadFromDevice()) {
        grab();
    }
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("qn470-config"));
    QCoreApplication::setApplicationVersion(QStringLiteral("3.0"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("QN-470 tracker configuration window"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption demo(
        QStringLiteral("demo"),
        QStringLiteral("Run a simulated tracker inside the program and offer it in the port "
                       "list, so the window can be tried without hardware."));
    const QCommandLineOption interval(
        QStringLiteral("interval-ms"),
        QStringLiteral("Pause between two lines of a save to the tracker, in milliseconds "
                       "(default 1000, with --demo 50)."),
        QStringLiteral("N"));
    const QCommandLineOption screenshot(
        QStringLiteral("screenshot"),
        QStringLiteral("Show the window, save it as a PNG image to <file>, and exit. With --demo "
                       "the window is connected to the simulator and has loaded from it first."),
        QStringLiteral("file"));
    parser.addOption(demo);
    parser.addOption(interval);
    parser.addOption(screenshot);
    parser.process(application);

    qn470::DeviceOptions devices;
    std::unique_ptr<qn470::DemoMode> demoMode;
    if (parser.isSet(demo)) {
        demoMode = std::make_unique<qn470::DemoMode>();
        if (!demoMode->start()) {
            return fail(QStringLiteral("--demo: cannot start the simulator: %1")
                            .arg(demoMode->errorString()),
                        1);
        }
        devices.ports = demoMode->ports(qn470::systemPortSource());
        devices.saveIntervalMs = qn470::DemoMode::kSaveIntervalMs;
    }
    if (parser.isSet(interval)) {
        bool ok = false;
        const int milliseconds = parser.value(interval).toInt(&ok);
        if (!ok || milliseconds < 0) {
            return fail(QStringLiteral("--interval-ms: '%1' is not a whole number of "
                                       "milliseconds (0 or more)")
                            .arg(parser.value(interval)),
                        2);
        }
        devices.saveIntervalMs = milliseconds;
    }

    QSettings settings(QLatin1String(qn470::kSettingsOrganization),
                       QLatin1String(qn470::kSettingsApplication));
    qn470::WidgetPrompter prompter;
    qn470::ModalChoiceRunner choices;
    qn470::AppState state(settings, prompter, choices);
    qn470::CconfigToolApp app(state, qn470::pageTabs(), std::move(devices));
    if (!app.initInstance()) {
        return 1;
    }

    if (parser.isSet(screenshot)) {
        const QString path = parser.value(screenshot);
        QTimer::singleShot(0, &application, [&app, path, withDemo = demoMode != nullptr] {
            if (withDemo) {
                screenshotAfterLoad(app, path);
            } else {
                saveScreenshot(app, path);
            }
        });
    }
    return application.exec();
}
