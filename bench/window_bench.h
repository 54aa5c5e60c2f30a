#pragma once
// What the benchmarks of the real windows share: the main window on the full
// sample game (offscreen), started from a folder that holds the about text,
// and a main() that runs the benchmarks inside a QApplication.

#include "full_sample.h"

#include "common/message_boxes.h"
#include "main/rostradbmain.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <functional>
#include <memory>

namespace bench {

struct MainWindowOnSample {
    explicit MainWindowOnSample(rostradb::ProgressSink* sink = nullptr)
    {
        // The about text is read from the current folder.
        QFile about(work.filePath(QStringLiteral("rostradb.txt")));
        if (about.open(QIODevice::WriteOnly))
            about.write("rostradb benchmark\n");
        QDir::setCurrent(work.path());
        window = std::make_unique<Tfrm_main>(StartupOptions{QString::fromStdString(fullSampleGame())});
        if (sink)
            window->setProgressSink(sink);
        window->show();
    }
    QTemporaryDir work;
    std::unique_ptr<Tfrm_main> window;
};

// The offscreen platform says on every raise() that it cannot; windows the
// benchmarks open are raised each time. Everything else is printed.
inline void quietPlatform(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (!message.startsWith(QLatin1String("This plugin does not support")))
        std::fprintf(stderr, "%s%s\n", type == QtWarningMsg ? "warning: " : "", qPrintable(message));
}

// Runs the registered benchmarks offscreen (unless a platform is asked for).
// `beforeQuit` destroys the windows the benchmarks made: widgets must go
// before the QApplication does.
inline int runWindowBenchmarks(int argc, char* argv[], const std::function<void()>& beforeQuit)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    setErrorReporterForTesting([](const QString& text) { std::fprintf(stderr, "error: %s\n", qPrintable(text)); });
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    beforeQuit();
    return 0;
}

} // namespace bench
