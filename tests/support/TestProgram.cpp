#include "TestProgram.h"

#include "forms/Accessibility.h"
#include "forms/Control.h"
#include "forms/Places.h"
#include "forms/Random.h"
#include "forms/Units.h"
#include "language/modLanguageSupport.h"
#include "shell/SharedState.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <stdexcept>

#ifndef TAVENDEL_ASSETS_DIR
#error "TAVENDEL_ASSETS_DIR must name the source tree's assets folder"
#endif

namespace {
void restore(const char* name, const QByteArray& value)
{
    if (value.isNull())
        qunsetenv(name);
    else
        qputenv(name, value);
}
} // namespace

TestProgram::TestProgram(std::uint64_t seed, QSize screen)
    : m_configHome(qgetenv("XDG_CONFIG_HOME")), m_dataHome(qgetenv("XDG_DATA_HOME"))
{
    if (!m_folder.isValid() || !m_user.isValid())
        throw std::runtime_error("no temporary folder");
    forms::setAppPath(m_folder.path());
    // The user's own folders, never the real ones of whoever runs the tests.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_user.filePath(QStringLiteral("config"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_user.filePath(QStringLiteral("data"))));
    forms::setScreenSizeOverride(screen);
    forms::randomize(seed);
    forms::setSoundPlayer(&m_sounds);
    forms::setAnnouncementListener([this](const forms::Control& control) {
        m_announced << control.widget()->objectName();
    });
    forms::setMsgBoxAnswerer([this](const forms::MsgBoxRequest& request) {
        m_messages.push_back(request);
        if (m_answers.empty())
            return request.buttons == forms::MsgBoxButtons::YesNo ? forms::MsgBoxResult::Yes
                                                                  : forms::MsgBoxResult::Ok;
        const forms::MsgBoxResult answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    });
    forms::Application::instance().setEndHandler([this] { ++m_ends; });
    Stato().reset();
    Stato().setSuoniAttivati(true);
    modLanguageSupport::setCurrentLanguage(QString());
}

TestProgram::~TestProgram()
{
    forms::Application::instance().unloadAll();
    forms::Application::instance().setEndHandler({});
    forms::setMsgBoxAnswerer({});
    forms::setSoundPlayer(nullptr);
    forms::setAnnouncementListener({});
    forms::setScreenSizeOverride(QSize());
    forms::setAppPath(QString());
    restore("XDG_CONFIG_HOME", m_configHome);
    restore("XDG_DATA_HOME", m_dataHome);
    Stato().reset();
    modLanguageSupport::setCurrentLanguage(QString());
}

void TestProgram::write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QDir().mkpath(QFileInfo(file).absolutePath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

QByteArray TestProgram::readFile(const QString& name) const
{
    QFile file(filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestProgram::storeLanguage(const QString& language) const
{
    writeFile(QStringLiteral("LangSetting.ini"), "[Language]\r\nCurrentLanguage=" + language.toUtf8() + "\r\n");
}

void TestProgram::installAsset(const QString& name, const QString& subfolder) const
{
    QFile source(QStringLiteral(TAVENDEL_ASSETS_DIR "/") + name);
    if (!source.open(QIODevice::ReadOnly))
        throw std::runtime_error("no asset " + name.toStdString());
    writeFile(subfolder.isEmpty() ? name : subfolder + u'/' + name, source.readAll());
}

void TestProgram::settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}
