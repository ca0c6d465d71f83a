// Start-up of the window program: from process start to the main window's first paint, and the
// process's peak memory, measured over fresh processes on the offscreen platform.
//
//   korvane-bench-startup [runs] [splash-ms]
//
// Each run starts this program again as a child that brings the window up the way the program
// does (application, splash, main window with its load handler, show) and reports the moment of
// the main window's first paint. The splash's minimum time is 0 by default, so the figures show
// the load itself; pass 800 to include the program's 0.8 s splash.

#include "app/fonts.h"
#include "app/main_window.h"
#include "app/qt_user_dialogs.h"
#include "app/splash_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFont>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

double nowMs()
{
    timespec t {};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// Notes the first paint of the watched window, then ends the event loop.
class FirstPaint : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            std::printf("%.3f\n", nowMs());
            std::fflush(stdout);
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_seen = false;
};

int child(int argc, char** argv, int splashMs)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("korvane");
    korvane::app::setInterfaceFont();

    korvane::app::SplashWindow splash;
    splash.show();
    splash.repaint();
    QApplication::processEvents();
    QElapsedTimer shown;
    shown.start();

    QTemporaryDir config;
    korvane::app::QtUserDialogs dialogs;
    korvane::app::MainWindow window(dialogs, { config.filePath("korvane.ini"), [] { return 0; } });
    if (const qint64 left = splashMs - shown.elapsed(); left > 0) QThread::msleep(static_cast<unsigned long>(left));
    splash.close();
    FirstPaint watch;
    window.installEventFilter(&watch);
    window.show();
    return QApplication::exec();
}

struct Sample {
    double ms;
    long peakKb;
};

bool runOnce(const char* self, int splashMs, Sample& out)
{
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    // The offscreen platform's notices would drown the figures.
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const std::string splash = std::to_string(splashMs);
    std::vector<char*> args { const_cast<char*>(self), const_cast<char*>("--child"), const_cast<char*>(splash.c_str()),
        nullptr };
    const double start = nowMs();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, self, &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (spawned != 0) {
        close(pipeFds[0]);
        return false;
    }
    std::string text;
    char buffer[128];
    for (ssize_t n; (n = read(pipeFds[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<std::size_t>(n));
    close(pipeFds[0]);
    int status = 0;
    rusage usage {};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0 || text.empty())
        return false;
    out.ms = std::strtod(text.c_str(), nullptr) - start;
    out.peakKb = usage.ru_maxrss;
    return true;
}

template <class T> T median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 3 && std::string(argv[1]) == "--child") return child(argc, argv, std::atoi(argv[2]));

    const int runs = argc >= 2 ? std::max(1, std::atoi(argv[1])) : 15;
    const int splashMs = argc >= 3 ? std::max(0, std::atoi(argv[2])) : 0;
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // The program's own start-up, without the start-up warning of a missing runtime folder.
    char runtime[] = "/tmp/korvane-bench-XXXXXX";
    if (mkdtemp(runtime)) setenv("XDG_RUNTIME_DIR", runtime, 1);

    std::vector<double> times;
    std::vector<long> peaks;
    for (int i = 0; i < runs; ++i) {
        Sample s {};
        if (!runOnce("/proc/self/exe", splashMs, s)) {
            std::fprintf(stderr, "korvane-bench-startup: run %d failed\n", i + 1);
            return 1;
        }
        times.push_back(s.ms);
        peaks.push_back(s.peakKb);
    }
    rmdir(runtime);
    std::printf("start-up to main window painted (offscreen, splash minimum %d ms), %d runs\n", splashMs, runs);
    std::printf("  time: median %.1f ms, min %.1f ms, max %.1f ms\n", median(times),
        *std::min_element(times.begin(), times.end()), *std::max_element(times.begin(), times.end()));
    std::printf("  peak RSS: median %.1f MB, max %.1f MB\n", static_cast<double>(median(peaks)) / 1024.0,
        static_cast<double>(*std::max_element(peaks.begin(), peaks.end())) / 1024.0);
    return 0;
}
