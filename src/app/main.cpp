// SPDX-License-Identifier: Apache-2.0
// qn470-config: the configuration window.
//
//   qn470-config [--demo [--demo-trackers N]] [--interval-ms N] [--tab N [--open ID]] [--search
//   TEXT]
//                [--set CODE=VALUE ...] [--view changes|compare|journal|fleet]
//                [--screenshot FILE.png]

#include <QApplication>
#include <QCommandLineParser>
#include <QLineEdit>
#include <QPainter>
#include <QProgressBar>
#include <QSettings>
#include <QTableWidget>
#include <QTimer>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "app/app_state.h"
#include "app/command_window.h"
#include "app/config_tool_app.h"
#include "app/config_tool_view.h"
#include "app/demo_mode.h"
#include "app/display_check.h"
#include "app/main_frame.h"
#include "app/views/changes_view.h"
#include "app/views/compare_view.h"
#include "app/views/fleet_view.h"
#include "app/views/journal_view.h"
#include "app/views/search_box.h"
#include "app/views/window_changes.h"
#include "app/views/window_values.h"
#include "app/widget_prompter.h"
#include "config/decimal_text.h"
#include "config/parameter_value.h"
#include "config/value_check.h"
#include "config/version.h"
#include "pages/choice_runner.h"
#include "pages/page.h"
#include "session/device_session.h"

namespace {

// Longest a demo screenshot waits for its load.
constexpr int kScreenshotLoadTimeoutMs = 10000;
// How long a screenshot waits for a dialog opened by --open.
constexpr int kScreenshotDialogDelayMs = 300;
constexpr int kMaxSaveIntervalMs = qn470::DeviceSession::kMaxSaveIntervalMs;

int fail(const QString& message, int status) {
    std::fprintf(stderr, "qn470-config: %s\n", qPrintable(message));
    return status;
}

// --set CODE=VALUE puts values into the window as if typed (texts as they are, numbers in
// decimal); --view changes|compare|journal|fleet opens that view (Compare with the defaults).
// Returns the view's dialog, or null; a message when an option is wrong.
QWidget* showChangeView(qn470::CconfigToolApp& app, const QStringList& settings,
                        const QString& view, QString& problem) {
    qn470::WindowValues& values = app.changes().values();
    for (const QString& setting : settings) {
        const QString code = setting.section(QLatin1Char('='), 0, 0);
        const QString value = setting.section(QLatin1Char('='), 1);
        const qn470::IndexedParameter* p = app.frame()->view()->parameterIndex().find(code);
        if (p == nullptr || !setting.contains(QLatin1Char('='))) {
            problem = QStringLiteral("--set '%1': not CODE=VALUE of a shown field").arg(setting);
            return nullptr;
        }
        qn470::ParameterSet source = app.session().parameters();
        const qn470::Parameter& parameter = qn470::parameter(p->code.toStdString());
        // Refused like a typed value the page would not take, never turned into another one.
        const std::string text = value.toLatin1().toStdString();
        std::optional<std::string> wrong;
        if (parameter.isText()) {
            wrong = qn470::textProblem(parameter, text);
            if (!wrong) {
                qn470::writeText(source, parameter, text);
            }
        } else {
            const qn470::LeadingDecimal number = qn470::readLeadingDecimal(
                text, {qn470::DecimalBlanks::None, qn470::DecimalSign::Read});
            wrong = number.digits == 0 || number.end != text.size()
                        ? std::optional<std::string>("is not a whole number")
                        : qn470::numberProblem(parameter, number.value);
            if (!wrong) {
                qn470::writeNumber(source, parameter, number.value);
            }
        }
        if (wrong) {
            problem = QStringLiteral("--set '%1': %2 %3")
                          .arg(setting, p->code, QString::fromStdString(*wrong));
            return nullptr;
        }
        values.takeValues({p}, source);
    }
    if (view == QLatin1String("changes")) {
        app.changes().showChanges();
        return app.changes().changesView();
    }
    if (view == QLatin1String("compare")) {
        app.changes().showCompare();
        app.changes().compareView()->compareWithDefaults();
        return app.changes().compareView();
    }
    if (view == QLatin1String("journal")) {
        app.showJournal();
        return app.journalView();
    }
    if (view == QLatin1String("fleet")) {
        app.showFleet();
        return app.fleetView();
    }
    if (!view.isEmpty()) {
        problem = QStringLiteral("--view '%1': changes, compare, journal or fleet").arg(view);
    }
    return nullptr;
}

// The window with the view over its lower right corner: the marks, the counts and the view.
QPixmap changeViewPicture(qn470::CconfigToolApp& app, QWidget& view) {
    QPixmap picture = app.frame()->grab();
    const QPixmap viewPicture = view.grab();
    const QPoint at(picture.width() - viewPicture.width() - 12,
                    picture.height() - viewPicture.height() - 12);
    QPainter painter(&picture);
    painter.fillRect(QRect(at - QPoint(1, 1), viewPicture.size() + QSize(2, 2)), Qt::darkGray);
    painter.drawPixmap(at, viewPicture);
    return picture;
}

// Saves the picture and ends the program (unless `thenExit` is false and the picture was saved).
void saveScreenshot(qn470::CconfigToolApp& app, const QString& path,
                    const QString& search = QString(), QWidget* changeView = nullptr,
                    bool thenExit = true) {
    if (!search.isEmpty()) {
        app.frame()->view()->searchBox()->searchFor(search);
    }
    // A choice dialog opened by --open is the picture; otherwise the whole window.
    QWidget* dialog = QApplication::activeModalWidget();
    QWidget* shown = dialog != nullptr ? dialog : app.frame();
    // The Fleet and Journal windows are windows of their own, pictured alone.
    const bool ownWindow =
        changeView != nullptr && (qobject_cast<qn470::CFleetView*>(changeView) ||
                                  qobject_cast<qn470::CJournalView*>(changeView));
    const QPixmap picture = ownWindow               ? changeView->grab()
                            : changeView != nullptr ? changeViewPicture(app, *changeView)
                                                    : shown->grab();
    if (!picture.save(path, "PNG")) {
        fail(QStringLiteral("%1: cannot write the image").arg(path), 1);
        QCoreApplication::exit(1);
        return;
    }
    if (thenExit) {
        QCoreApplication::exit(0);
    }
}

// In demo mode the picture shows a connected window after a load, with the report in the
// receive log.
void screenshotAfterLoad(qn470::CconfigToolApp& app, const QString& path, const QString& search) {
    qn470::CCommandWindow* window = app.commandWindow();
    window->startStop();
    auto* session = &app.session();
    auto done = std::make_shared<bool>(false);
    const auto grab = [&app, path, search, done] {
        if (!*done) {
            *done = true;
            // Let the progress dialog go and the logs repaint first.
            QTimer::singleShot(50, [&app, path, search] { saveScreenshot(app, path, search); });
        }
    };
    QObject::connect(session, &qn470::DeviceSession::operationFinished, session, grab);
    QTimer::singleShot(kScreenshotLoadTimeoutMs, session, grab);
    if (!session->loadFromDevice()) {
        grab();
    }
}

// With --demo and --view fleet the picture shows the Fleet window provisioning the demo trackers,
// each keeping its own Device ID: taken once a tracker is half written (or when all have ended).
// The program ends with the run, so the journal then holds whole entries for a Journal picture.
void screenshotDuringFleetRun(qn470::CconfigToolApp& app, const QString& path) {
    qn470::CFleetView* view = app.fleetView();
    view->keepEdit()->setText(QStringLiteral("O5"));
    view->lookAtPorts();
    if (!view->start()) {
        saveScreenshot(app, path, QString(), view);  // the refusal is the picture
        return;
    }
    auto* look = new QTimer(view);
    look->setInterval(10);
    const auto grab = [&app, path, view, look] {
        if (look->isActive()) {
            look->stop();
            saveScreenshot(app, path, QString(), view, false);
        }
    };
    QObject::connect(look, &QTimer::timeout, view, [view, grab] {
        for (int row = 0; row < view->table()->rowCount(); ++row) {
            const auto* bar = qobject_cast<QProgressBar*>(
                view->table()->cellWidget(row, qn470::CFleetView::kProgress));
            if (bar != nullptr && bar->maximum() > 1 && bar->value() * 2 >= bar->maximum()) {
                grab();
                return;
            }
        }
    });
    const auto end = [grab] {
        grab();
        QCoreApplication::exit(0);
    };
    QObject::connect(view, &qn470::CFleetView::runEnded, view, end);
    QTimer::singleShot(kScreenshotLoadTimeoutMs, view, end);
    look->start();
}

// The window's options; --help lists them in this order.
struct WindowOptions {
    const QCommandLineOption demo{
        QStringLiteral("demo"),
        QStringLiteral("Run a simulated tracker inside the program and offer it in the port "
                       "list, so the window can be tried without hardware.")};
    const QCommandLineOption demoTrackers{
        QStringLiteral("demo-trackers"),
        QStringLiteral("With --demo, run <N> simulated trackers (1 to 8; default 1), each with "
                       "its own IMEI and Device ID. With --view fleet, a screenshot then shows "
                       "the Fleet window provisioning them."),
        QStringLiteral("N")};
    const QCommandLineOption interval{
        QStringLiteral("interval-ms"),
        QStringLiteral("Pause between two lines of a save to the tracker, in milliseconds "
                       "(0 to 60000; default 1000, with --demo 50)."),
        QStringLiteral("N")};
    const QCommandLineOption screenshot{
        QStringLiteral("screenshot"),
        QStringLiteral("Show the window, save it as a PNG image to <file>, and exit. With --demo "
                       "the window is connected to the simulator and has loaded from it first."),
        QStringLiteral("file")};
    const QCommandLineOption tab{
        QStringLiteral("tab"),
        QStringLiteral("Show tab <index> (0 = Main ... 10 = Serial Port) instead of Main."),
        QStringLiteral("index")};
    const QCommandLineOption open{
        QStringLiteral("open"),
        QStringLiteral("Give the field with control id <id> of the shown tab the focus, so its "
                       "choice dialog opens; a screenshot then shows that dialog."),
        QStringLiteral("id")};
    const QCommandLineOption set{
        QStringLiteral("set"),
        QStringLiteral("Put <CODE=VALUE> into the window as if typed (may be repeated)."),
        QStringLiteral("CODE=VALUE")};
    const QCommandLineOption view{
        QStringLiteral("view"),
        QStringLiteral(
            "Open the Changes, the Compare (compared with the defaults), the Journal or the Fleet "
            "view; a screenshot then shows that view."),
        QStringLiteral("changes|compare|journal|fleet")};
    const QCommandLineOption search{
        QStringLiteral("search"),
        QStringLiteral("Type <text> into the search field, so a screenshot shows its list of "
                       "matches."),
        QStringLiteral("text")};

    // The names go on the application, which --version and --help print.
    void setUp(QCommandLineParser& parser) const {
        QCoreApplication::setApplicationName(QStringLiteral("qn470-config"));
        QCoreApplication::setApplicationVersion(QString::fromLatin1(qn470::kVersion));
        parser.setApplicationDescription(QStringLiteral("QN-470 tracker configuration window"));
        parser.addHelpOption();
        parser.addVersionOption();
        parser.addOption(demo);
        parser.addOption(demoTrackers);
        parser.addOption(interval);
        parser.addOption(tab);
        parser.addOption(open);
        parser.addOption(search);
        parser.addOption(set);
        parser.addOption(view);
        parser.addOption(screenshot);
    }
};

// --help and --version answer without a display, so they are handled before QApplication,
// which needs one. Returns when neither was asked for.
void answerHelpAndVersion(int& argc, char** argv, bool canShow) {
    const QCoreApplication core(argc, argv);
    QCommandLineParser parser;
    const WindowOptions options;
    options.setUp(parser);
    // Qt's own options (-platform NAME ...) are unknown here; QApplication takes them later.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.parse(core.arguments());
    if (parser.isSet(QStringLiteral("version"))) {
        parser.showVersion();
    }
    // With a display, QApplication's parser adds the window system's options to --help-all.
    if (parser.isSet(QStringLiteral("help")) ||
        (!canShow && parser.isSet(QStringLiteral("help-all")))) {
        parser.showHelp(0);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const bool canShow = qn470::canShowWindow(qn470::currentDisplayEnvironment(argc, argv));
    answerHelpAndVersion(argc, argv, canShow);
    if (!canShow) {
        std::fputs(qn470::noDisplayMessage(argv[0]).c_str(), stderr);
        return 1;
    }

    QApplication application(argc, argv);
    QCommandLineParser parser;
    const WindowOptions options;
    options.setUp(parser);
    parser.process(application);
    const QCommandLineOption& demo = options.demo;
    const QCommandLineOption& interval = options.interval;
    const QCommandLineOption& screenshot = options.screenshot;
    const QCommandLineOption& tab = options.tab;
    const QCommandLineOption& open = options.open;
    const QString searchText = parser.value(options.search);

    qn470::DeviceOptions devices;
    std::unique_ptr<qn470::DemoMode> demoMode;
    if (parser.isSet(options.demoTrackers) && !parser.isSet(demo)) {
        return fail(QStringLiteral("--demo-trackers needs --demo"), 2);
    }
    if (parser.isSet(demo)) {
        int trackers = 1;
        if (parser.isSet(options.demoTrackers)) {
            bool ok = false;
            trackers = parser.value(options.demoTrackers).toInt(&ok);
            if (!ok || trackers < 1 || trackers > qn470::DemoMode::kMaxTrackers) {
                return fail(QStringLiteral("--demo-trackers: '%1' is not a number from 1 to %2")
                                .arg(parser.value(options.demoTrackers))
                                .arg(qn470::DemoMode::kMaxTrackers),
                            2);
            }
        }
        demoMode = std::make_unique<qn470::DemoMode>(trackers);
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
        const qlonglong milliseconds = parser.value(interval).toLongLong(&ok);
        if (!ok) {
            return fail(QStringLiteral("--interval-ms: '%1' is not a whole number of "
                                       "milliseconds (0 or more)")
                            .arg(parser.value(interval)),
                        2);
        }
        if (milliseconds < 0 || milliseconds > kMaxSaveIntervalMs) {
            return fail(QStringLiteral("--interval-ms %1: must be between 0 and %2")
                            .arg(parser.value(interval))
                            .arg(kMaxSaveIntervalMs),
                        2);
        }
        devices.saveIntervalMs = static_cast<int>(milliseconds);
    }
    int tabIndex = -1;
    if (parser.isSet(tab)) {
        bool ok = false;
        tabIndex = parser.value(tab).toInt(&ok);
        if (!ok || tabIndex < 0 || tabIndex >= qn470::kPageCount) {
            return fail(QStringLiteral("--tab: '%1' is not a tab index (0 to %2)")
                            .arg(parser.value(tab))
                            .arg(qn470::kPageCount - 1),
                        2);
        }
    }
    int openId = 0;
    if (parser.isSet(open)) {
        bool ok = false;
        openId = parser.value(open).toInt(&ok);
        if (!ok || openId <= 0) {
            return fail(QStringLiteral("--open: '%1' is not a control id").arg(parser.value(open)),
                        2);
        }
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
    if (tabIndex >= 0) {
        app.frame()->view()->selectTab(tabIndex);
    }
    if (openId != 0) {
        QWidget* field =
            app.frame()->view()->currentPage()->findChild<QWidget*>(QString::number(openId));
        if (field == nullptr) {
            return fail(QStringLiteral("--open: the tab has no control %1").arg(openId), 2);
        }
        // As a click would, once the window is active (focus that comes with the window opens
        // no dialog).
        auto* activation = new QTimer(field);
        activation->setInterval(20);
        QObject::connect(activation, &QTimer::timeout, field, [field, activation] {
            if (field->window()->isActiveWindow()) {
                activation->stop();
                field->setFocus(Qt::MouseFocusReason);
            }
        });
        app.frame()->activateWindow();
        activation->start();
    }

    QString changeProblem;
    QWidget* changeView =
        showChangeView(app, parser.values(options.set), parser.value(options.view), changeProblem);
    if (!changeProblem.isEmpty()) {
        return fail(changeProblem, 2);
    }

    if (parser.isSet(screenshot)) {
        const QString path = parser.value(screenshot);
        // An opened dialog shows from the event loop; give it a moment.
        const int delayMs = openId != 0 ? kScreenshotDialogDelayMs : 0;
        QTimer::singleShot(
            delayMs, &application,
            [&app, path, searchText, changeView, withDemo = demoMode != nullptr] {
                if (withDemo && qobject_cast<qn470::CFleetView*>(changeView) != nullptr) {
                    screenshotDuringFleetRun(app, path);
                } else if (withDemo) {
                    screenshotAfterLoad(app, path, searchText);
                } else {
                    saveScreenshot(app, path, searchText, changeView);
                }
            });
    } else if (!searchText.isEmpty()) {
        app.frame()->view()->searchBox()->searchFor(searchText);
    }
    return application.exec();
}
