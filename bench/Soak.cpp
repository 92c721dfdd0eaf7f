// The soak: a pupil who works through a very long session, driven in-process
// through the real forms (SoakPupil), while memory, live objects and open
// files are sampled. Whatever grows with every answer shows as a slope once
// the caches have warmed up; the goal is under 100 KiB per 10 000 answers.
//
//   soak [answers] [--every N] [--warmup N] [--shots FOLDER]
//
// answers: how many (default 100 000); --every: a sample every N answers
// (default 5 000); --warmup: answers left out of the slope (default 10 000);
// --shots: save the first pictures of the windows there, to compare the look
// of two builds.

#include "SoakPupil.h"

#include "app/RegistroForme.h"
#include "forms/Application.h"
#include "forms/MessageBox.h"
#include "forms/Places.h"
#include "forms/Random.h"
#include "forms/SoundPlayer.h"
#include "forms/Units.h"
#include "shell/SharedState.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>

#include <malloc.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <vector>

namespace {

constexpr std::uint64_t kSeed = 20030907;
constexpr double kSlopeSpan = 10'000; // answers per slope unit
constexpr double kGoalKiB = 100;

struct Options
{
    long answers = 100'000;
    long every = 5'000;
    long warmUp = 10'000;
    QString shots;
};

struct Sample
{
    long answers = 0;
    double heapKiB = 0;
    double rssKiB = 0;
    qsizetype objects = 0;
    qsizetype widgets = 0;
    long files = 0;
    double seconds = 0;
};

Options parse(const QStringList& arguments)
{
    Options options;
    const auto number = [&](qsizetype at) {
        bool ok = false;
        const long value = at < arguments.size() ? arguments[at].toLong(&ok) : 0;
        if (!ok || value <= 0)
            throw std::invalid_argument("soak [answers] [--every N] [--warmup N] [--shots FOLDER]");
        return value;
    };
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--every"))
            options.every = number(++i);
        else if (arguments[i] == QLatin1String("--warmup"))
            options.warmUp = number(++i);
        else if (arguments[i] == QLatin1String("--shots") && i + 1 < arguments.size())
            options.shots = arguments[++i];
        else
            options.answers = number(i);
    }
    return options;
}

// The objects alive: every top-level widget's tree, which holds the forms'
// widgets, menus, actions and whatever else they own.
qsizetype liveObjects()
{
    qsizetype count = 0;
    for (const QWidget* top : QApplication::topLevelWidgets())
        count += 1 + top->findChildren<QObject*>().size();
    return count;
}

long openFiles()
{
    long count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++count;
    return count - 1; // the listing's own
}

double rssKiB()
{
    std::ifstream statm("/proc/self/statm");
    long size = 0;
    long resident = 0;
    statm >> size >> resident;
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / 1024;
}

Sample sample(long answers, const QElapsedTimer& clock)
{
    return {answers, double(mallinfo2().uordblks) / 1024, rssKiB(), liveObjects(),
            QApplication::allWidgets().size(), openFiles(), double(clock.elapsed()) / 1000};
}

void print(const Sample& s)
{
    std::printf("%9ld %11.0f %11.0f %8lld %8lld %5ld %9.1f\n", s.answers, s.heapKiB, s.rssKiB,
                static_cast<long long>(s.objects), static_cast<long long>(s.widgets), s.files, s.seconds);
    std::fflush(stdout);
}

// Least squares over the samples after the warm-up, in KiB per 10 000
// answers; nothing when fewer than two samples follow the warm-up.
std::optional<double> slope(const std::vector<Sample>& samples, long warmUp, double Sample::*kib)
{
    std::vector<const Sample*> used;
    for (const Sample& s : samples)
        if (s.answers >= warmUp)
            used.push_back(&s);
    if (used.size() < 2)
        return std::nullopt;
    double meanX = 0;
    double meanY = 0;
    for (const Sample* s : used) {
        meanX += double(s->answers);
        meanY += s->*kib;
    }
    meanX /= double(used.size());
    meanY /= double(used.size());
    double sxy = 0;
    double sxx = 0;
    for (const Sample* s : used) {
        sxy += (double(s->answers) - meanX) * (s->*kib - meanY);
        sxx += (double(s->answers) - meanX) * (double(s->answers) - meanX);
    }
    return sxy / sxx * kSlopeSpan;
}

// Plays nothing: the soak is about the forms, not the speakers.
class SilentPlayer : public forms::SoundPlayer
{
public:
    void play(const QString&) override {}
};

// A program folder of the soak's own, with the two languages it switches
// between, so that the choice is written there and not beside the build's
// program; the user's own folders are the soak's too, so that a teacher's
// language files on this machine stay out of the menu.
void layOutProgramFolder(const QTemporaryDir& folder)
{
    for (const char* file : {"Italiano.lng", "English.lng", "LangSetting.ini"}) {
        const QString name = QString::fromLatin1(file);
        if (!QFile::copy(QStringLiteral(TAVENDEL_ASSETS_DIR "/") + name, folder.filePath(name)))
            throw std::runtime_error("cannot copy " + name.toStdString());
    }
    forms::setAppPath(folder.path());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder.filePath(QStringLiteral("config"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(folder.filePath(QStringLiteral("data"))));
}

int soak(const Options& options)
{
    QTemporaryDir folder;
    if (!folder.isValid())
        throw std::runtime_error("no temporary folder");
    layOutProgramFolder(folder);
    SilentPlayer silence;
    forms::setSoundPlayer(&silence);
    forms::setMsgBoxAnswerer([](const forms::MsgBoxRequest& request) {
        return request.buttons == forms::MsgBoxButtons::YesNo ? forms::MsgBoxResult::Yes
                                                              : forms::MsgBoxResult::Ok;
    });
    forms::setScreenSizeOverride(QSize(1024, 768));
    forms::randomize(kSeed);
    Stato().setSuoniAttivati(true);
    RegistraForme();

    std::printf("soak: %ld answers, a sample every %ld, slope after %ld\n", options.answers,
                options.every, options.warmUp);
    std::printf("%9s %11s %11s %8s %8s %5s %9s\n", "answers", "heap KiB", "RSS KiB", "objects",
                "widgets", "files", "seconds");
    QElapsedTimer clock;
    clock.start();
    std::vector<Sample> samples;
    const auto take = [&](long answers) {
        samples.push_back(sample(answers, clock));
        print(samples.back());
    };
    long nextSample = 0;
    SoakPupil pupil([&](long answers) {
        if (answers < nextSample)
            return;
        take(answers);
        nextSample = answers - answers % options.every + options.every;
    }, options.shots);
    pupil.work(options.answers);

    const std::optional<double> heap = slope(samples, options.warmUp, &Sample::heapKiB);
    const std::optional<double> rss = slope(samples, options.warmUp, &Sample::rssKiB);
    if (heap && rss)
        std::printf("slope after %ld answers, KiB per 10 000 answers: heap %.1f, RSS %.1f (goal: under %.0f)\n",
                    options.warmUp, *heap, *rss, kGoalKiB);
    else
        std::printf("no slope: fewer than two samples after %ld answers\n", options.warmUp);
    forms::Application::instance().unloadAll();
    forms::setSoundPlayer(nullptr);
    forms::setMsgBoxAnswerer({});
    return 0;
}

QtMessageHandler qtMessages = nullptr;

// The offscreen platform says, at every form shown, that it cannot raise
// windows; the soak shows tens of thousands.
void quietRaise(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (qtMessages && !message.contains(QLatin1String("does not support raise()")))
        qtMessages(type, context, message);
}

} // namespace

int main(int argc, char* argv[])
{
    // A soak runs without a display unless told otherwise.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qtMessages = qInstallMessageHandler(quietRaise);
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    try {
        return soak(parse(QApplication::arguments()));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
}
