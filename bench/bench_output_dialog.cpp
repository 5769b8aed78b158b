// Times the output run from its dialog against the same run without one,
// over a large collection with a simple design, and counts how often the
// dialog repaints meanwhile: the run is on a worker thread and the window
// has to stay alive (at least ten paints a second, throughout).
//   bench-output-dialog [ITEMS=100000] [GENRES=100] [ROOT] [RUNS=5]
// Run it offscreen (QT_QPA_PLATFORM=offscreen) or on an X server.

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <optional>
#include <vector>

#include "LargeCollection.h"
#include "gui/publish/dlgProjectOutput.h"
#include "core/output/OutputRun.h"
#include "core/text/Paths.h"
#include "core/util/Messages.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration duration)
{
    return std::chrono::duration<double>(duration).count();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Notes when the run's end message comes and answers it.
class EndOfRun final : public tessaly::MessagePresenter {
public:
    tessaly::MessageButton Show(tessaly::MessageKind, const tessaly::SjisText&, tessaly::MessageButtons) override
    {
        end = Clock::now();
        return tessaly::MessageButton::Ok;
    }
    void Beep() override { }
    std::optional<Clock::time_point> end;
};

// The moments the dialog or any of its widgets painted.
class PaintLog final : public QObject {
public:
    explicit PaintLog(QWidget* window)
        : window_(window)
    {
        qApp->installEventFilter(this);
    }
    std::vector<Clock::time_point> paints;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && watched->isWidgetType()
            && static_cast<QWidget*>(watched)->window() == window_) {
            paints.push_back(Clock::now());
        }
        return false;
    }

private:
    QWidget* window_;
};

void RemovePages(const fs::path& root)
{
    std::vector<fs::path> pages;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.path().extension() == ".html") {
            pages.push_back(entry.path());
        }
    }
    for (const fs::path& page : pages) {
        fs::remove(page);
    }
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    const std::size_t items = argc > 1 ? std::stoul(argv[1]) : 100000;
    const std::size_t genres = argc > 2 ? std::stoul(argv[2]) : 100;
    const fs::path root = argc > 3 ? fs::path(argv[3]) : fs::temp_directory_path() / "tessaly-bench-output-dialog";
    const int runs = argc > 4 ? std::stoi(argv[4]) : 5;
    tessaly::Project project = tessaly::bench::MakeLargeCollection(items, genres);
    const tessaly::SystemClock clock;
    if (!tessaly::bench::MakeLargeSite(project, root, clock.Today())) {
        return 1;
    }
    const auto run = [&project, &clock](tessaly::OutputObserver& observer) {
        return tessaly::RunOutput(project, project.RootDir, clock, observer);
    };

    std::vector<double> plain;
    std::vector<double> dialogRuns;
    std::vector<double> paintRates;
    std::vector<double> paintGaps;
    std::vector<double> beatGaps;
    int pages = 0;
    for (int i = 0; i < runs; ++i) {
        RemovePages(root);
        tessaly::OutputObserver quiet;
        const Clock::time_point start = Clock::now();
        pages = run(quiet).counts.created;
        plain.push_back(Seconds(Clock::now() - start));

        RemovePages(root);
        EndOfRun messages;
        tessaly::TForm_ProjectOutput dialog(messages, run, [] {});
        dialog.BtnDetailedClick();
        dialog.show();
        QApplication::processEvents();
        PaintLog log(&dialog);
        // The window's thread is free when a short timer keeps its time.
        QTimer beat;
        Clock::time_point lastBeat = Clock::now();
        double beatGap = 0;
        QObject::connect(&beat, &QTimer::timeout, [&] {
            const Clock::time_point now = Clock::now();
            beatGap = std::max(beatGap, Seconds(now - lastBeat));
            lastBeat = now;
        });
        beat.start(10);
        const Clock::time_point dialogStart = Clock::now();
        dialog.BtnOutputClick();
        if (!QTest::qWaitFor([&messages] { return messages.end.has_value(); }, 600000)) {
            std::cerr << "the run from the dialog did not end\n";
            return 1;
        }
        beat.stop();
        beatGaps.push_back(beatGap);
        const double seconds = Seconds(*messages.end - dialogStart);
        dialogRuns.push_back(seconds);
        paintRates.push_back(static_cast<double>(log.paints.size()) / seconds);
        Clock::time_point last = dialogStart;
        double gap = 0;
        for (const Clock::time_point paint : log.paints) {
            if (paint <= *messages.end) {
                gap = std::max(gap, Seconds(paint - last));
                last = paint;
            }
        }
        paintGaps.push_back(std::max(gap, Seconds(*messages.end - last)));
    }
    fs::remove_all(root);

    const double plainRun = Median(plain);
    const double dialogRun = Median(dialogRuns);
    std::cout << items << " items, " << genres << " genres, " << pages << " pages, medians of " << runs << " runs\n"
              << "  run without a window:        " << plainRun << " s\n"
              << "  run from the dialog:         " << dialogRun << " s (" << dialogRun / plainRun
              << "x; target <= 1.10x)\n"
              << "  dialog paints per second:    " << Median(paintRates) << " (target >= 10)\n"
              << "  longest time without paint:  " << Median(paintGaps) * 1000 << " ms (worst run "
              << *std::max_element(paintGaps.begin(), paintGaps.end()) * 1000 << " ms; target <= 100 ms)\n"
              << "  longest wait of a 10 ms timer: " << Median(beatGaps) * 1000 << " ms (worst run "
              << *std::max_element(beatGaps.begin(), beatGaps.end()) * 1000 << " ms)\n";
    return 0;
}
