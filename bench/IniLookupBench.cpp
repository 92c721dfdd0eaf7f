// How much a lookup in a language file costs beside merely reading the file's
// bytes once. A file is read and indexed at the first lookup of each of its
// versions (FirstLookup); every later lookup, as when a form's hundred
// captions are translated, asks only for the file's version and searches the
// index (RepeatedLookup). The goal: a repeated lookup costs less than one
// bare read of the file, at every size. A file changed in the last few
// seconds is read again at every lookup, but indexed only once
// (RepeatedLookupInAFreshFile).

#include "language/IniFile.h"
#include "language/RegularFile.h"
#include "language/modLanguageSupport.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <limits>
#include <map>

namespace {

constexpr qsizetype Kilobyte = 1024;
constexpr int ComparisonRounds = 7;
constexpr int CallsPerRound = 100;
// Files changed within the last few seconds are read at every lookup; the
// samples are dated well before.
constexpr time_t SampleAge = 3600;

const QStringList Phrases = {
    QStringLiteral("Leggi i numeri romani fino a 388 (I, V, X, L, C)"),
    QStringLiteral("Aiuto: mostra migliaia, centinaia, decine e unità"),
    QStringLiteral("Passa alla domanda successiva"),
    QStringLiteral("È ora di esercitarsi con le cifre romane"),
    QStringLiteral("Perché non riprovi? Ci sei quasi"),
    QStringLiteral("Trascina ogni numero romano sul suo numero"),
    QStringLiteral("Così si fa! Più esercizi, più bravura"),
    QStringLiteral("Vuoi davvero uscire da Tavendel?"),
};

// The target entry comes last, so a lookup passes over everything else.
struct Sample
{
    QString path;
    QString section;
    QString key;
};

QByteArray entry(const QString& key, int phrase)
{
    return key.toUtf8() + "=\"" + Phrases[phrase % Phrases.size()].toUtf8() + "\"\r\n";
}

// Sections laid out as the program's forms are: captions and tooltips of
// command buttons, labels, a control array and menu entries.
QByteArray formSection(int form)
{
    QByteArray text = "\r\n[Form" + QByteArray::number(form) + "]\r\n";
    for (int i = 1; i <= 16; ++i) {
        const QString name = QStringLiteral("Command%1").arg(i);
        text += entry(name + QStringLiteral(".Caption"), i) + entry(name + QStringLiteral(".ToolTipText"), i + form);
    }
    for (int i = 0; i < 7; ++i)
        text += entry(QStringLiteral("Label3(%1).Caption").arg(i), i);
    text += entry(QStringLiteral("Check1.Caption"), form) + entry(QStringLiteral("mnuEsci.Caption"), 2);
    return text;
}

// Ids have four digits: a long section repeats them, which keeps the one
// looked for, 9999, unique and last.
constexpr int LastMessageId = 9999;

QByteArray messageLine(int id)
{
    return entry(QStringLiteral("%1").arg(id, 4, 10, QLatin1Char('0')), id);
}

// Pads with a comment so the file has the exact size, then adds the target.
QByteArray padded(QByteArray text, const QByteArray& last, qsizetype size)
{
    const QByteArray comment = "\r\n;";
    const QByteArray lineBreak = "\r\n";
    const qsizetype room = size - text.size() - comment.size() - lineBreak.size() - last.size();
    return text + comment + QByteArray(std::max<qsizetype>(room, 0), '-') + lineBreak + last;
}

QTemporaryDir& folder()
{
    static QTemporaryDir dir;
    return dir;
}

Sample write(const QString& name, const QByteArray& bytes, const QString& section, const QString& key,
             time_t modified = ::time(nullptr) - SampleAge)
{
    const QString path = folder().filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write the sample language file");
    file.close();
    const timespec times[2] = {{0, UTIME_OMIT}, {modified, 0}};
    if (::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) != 0)
        qFatal("cannot date the sample language file");
    return Sample{path, section, key};
}

// Many form sections; the target is the last entry of the last one, with
// accented text, so that the whole file's encoding must be settled.
const Sample& formsSample(qsizetype size)
{
    static std::map<qsizetype, Sample> samples;
    if (!samples.count(size)) {
        QByteArray text = "[Strings]\r\n" + messageLine(1) + messageLine(3);
        int form = 1;
        while (text.size() + formSection(form).size() < size)
            text += formSection(form++);
        const QByteArray last = "\r\n[FormUltimo]\r\n" + entry(QStringLiteral("Command1.Caption"), 1);
        samples[size] = write(QStringLiteral("forms%1.lng").arg(size), padded(text, last, size),
                              QStringLiteral("FormUltimo"), QStringLiteral("command1.caption"));
    }
    return samples[size];
}

// One long message section with the target id at its end: no section header
// cuts the search short. The target's text is plain ASCII, so this times the
// key search alone.
const Sample& messagesSample(qsizetype size)
{
    static std::map<qsizetype, Sample> samples;
    if (!samples.count(size)) {
        QByteArray text = "[Strings]\r\n";
        for (int id = 1; text.size() + 2 * messageLine(LastMessageId).size() < size; ++id)
            text += messageLine(id % LastMessageId);
        samples[size] = write(QStringLiteral("messages%1.lng").arg(size), padded(text, messageLine(LastMessageId), size),
                              QStringLiteral("Strings"), QString::number(LastMessageId));
    }
    return samples[size];
}

// The forms sample dated in the future, which keeps it as a file changed
// just now: read at every lookup, indexed once.
const Sample& freshSample(qsizetype size)
{
    static std::map<qsizetype, Sample> samples;
    if (!samples.count(size)) {
        const Sample& settled = formsSample(size);
        QFile file(settled.path);
        if (!file.open(QIODevice::ReadOnly))
            qFatal("cannot read the sample language file");
        samples[size] = write(QStringLiteral("fresh%1.lng").arg(size), file.readAll(), settled.section, settled.key,
                              ::time(nullptr) + SampleAge);
    }
    return samples[size];
}

template<typename Call>
double nanosecondsPerCall(Call call)
{
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < CallsPerRound; ++i)
        benchmark::DoNotOptimize(call());
    const std::chrono::duration<double, std::nano> spent = std::chrono::steady_clock::now() - start;
    return spent.count() / CallsPerRound;
}

// The lookup against the floor, in alternating rounds so that both see the
// same cache and clock; the best round of each counts, which keeps other work
// on the machine out of the ratio.
template<typename Lookup, typename Read>
double timesBareRead(Lookup lookup, Read read)
{
    double bestLookup = std::numeric_limits<double>::max();
    double bestRead = std::numeric_limits<double>::max();
    for (int round = 0; round < ComparisonRounds; ++round) {
        bestLookup = std::min(bestLookup, nanosecondsPerCall(lookup));
        bestRead = std::min(bestRead, nanosecondsPerCall(read));
    }
    return bestLookup / bestRead;
}

QString repeatedLookup(const Sample& sample)
{
    return modLanguageSupport::MLSReadIni(sample.path, sample.section, sample.key).value_or(QString());
}

// What a lookup costs at a file's first version: read, index, search.
QString firstLookup(const Sample& sample)
{
    const std::optional<IniFile> file = IniFile::load(sample.path);
    return file ? file->value(sample.section, sample.key) : QString();
}

std::optional<regularfile::Snapshot> bareRead(const Sample& sample)
{
    return regularfile::read(sample.path, IniFile::MaxFileSize);
}

template<typename Lookup>
void lookup(benchmark::State& state, const Sample& sample, Lookup call)
{
    if (call(sample).isEmpty())
        state.SkipWithError("the target entry was not found");
    for (auto _ : state)
        benchmark::DoNotOptimize(call(sample));
    state.counters["times_bare_read"] = timesBareRead([&] { return call(sample); }, [&] { return bareRead(sample); });
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

void RepeatedLookupInFormSections(benchmark::State& state)
{
    lookup(state, formsSample(state.range(0)), repeatedLookup);
}

void RepeatedLookupInOneLongSection(benchmark::State& state)
{
    lookup(state, messagesSample(state.range(0)), repeatedLookup);
}

void RepeatedLookupInAFreshFile(benchmark::State& state)
{
    lookup(state, freshSample(state.range(0)), repeatedLookup);
}

void FirstLookupInFormSections(benchmark::State& state)
{
    lookup(state, formsSample(state.range(0)), firstLookup);
}

void FirstLookupInOneLongSection(benchmark::State& state)
{
    lookup(state, messagesSample(state.range(0)), firstLookup);
}

void BareRead(benchmark::State& state)
{
    const Sample& sample = formsSample(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(bareRead(sample));
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

} // namespace

BENCHMARK(BareRead)->Arg(4 * Kilobyte)->Arg(64 * Kilobyte)->Arg(1024 * Kilobyte);
BENCHMARK(RepeatedLookupInFormSections)->Arg(4 * Kilobyte)->Arg(64 * Kilobyte)->Arg(1024 * Kilobyte);
BENCHMARK(RepeatedLookupInOneLongSection)->Arg(4 * Kilobyte)->Arg(64 * Kilobyte)->Arg(1024 * Kilobyte);
BENCHMARK(RepeatedLookupInAFreshFile)->Arg(4 * Kilobyte)->Arg(64 * Kilobyte)->Arg(1024 * Kilobyte);
BENCHMARK(FirstLookupInFormSections)->Arg(4 * Kilobyte)->Arg(64 * Kilobyte)->Arg(1024 * Kilobyte);
BENCHMARK(FirstLookupInOneLongSection)->Arg(4 * Kilobyte)->Arg(64 * Kilobyte)->Arg(1024 * Kilobyte);

BENCHMARK_MAIN();
