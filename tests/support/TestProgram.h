#pragma once

#include "forms/Application.h"
#include "forms/MessageBox.h"
#include "forms/SoundPlayer.h"

#include <QSize>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <deque>
#include <vector>

namespace forms {
class Form;
class Control;

// For comparing the boxes a test expects with those asked for.
inline bool operator==(const MsgBoxRequest& a, const MsgBoxRequest& b)
{
    return a.title == b.title && a.text == b.text && a.buttons == b.buttons && a.icon == b.icon;
}
} // namespace forms

// A sound player that only writes down what it was asked to play.
class RecordingSoundPlayer : public forms::SoundPlayer
{
public:
    void play(const QString& path) override { played.push_back(path); }
    QStringList played;
};

// Everything a test of the program's forms controls: a program folder of
// its own (empty until the test puts files in it), the user's configuration
// and data folders (empty), the random seed, the screen size, the answers to
// message boxes, the sound player, and what is announced to assistive
// technology. Destroying it unloads every form and restores the defaults.
class TestProgram
{
public:
    explicit TestProgram(std::uint64_t seed = 1, QSize screen = QSize(1024, 768));
    // Never copied nor moved (its temporary folders cannot be copied, and the
    // runtime's hooks point at this very object).
    ~TestProgram();

    QString folder() const { return m_folder.path(); }
    // Holds config/ and data/, the user's XDG configuration and data folders.
    QString userFolder() const { return m_user.path(); }
    QString filePath(const QString& name) const { return m_folder.filePath(name); }
    // Writes a file into the program folder, or under the user's folder.
    void writeFile(const QString& name, const QByteArray& bytes) const { write(filePath(name), bytes); }
    void writeUserFile(const QString& name, const QByteArray& bytes) const { write(m_user.filePath(name), bytes); }
    QByteArray readFile(const QString& name) const;
    // A LangSetting.ini in the program folder that names this language.
    void storeLanguage(const QString& language) const;
    // Copies a file of the program as it ships (assets/) into the folder, or
    // into a folder below it.
    void installAsset(const QString& name, const QString& subfolder = {}) const;

    // Message boxes: the next answers to give, in order (Yes or OK when none
    // is queued), and every box that was asked for.
    void answerNext(forms::MsgBoxResult answer) { m_answers.push_back(answer); }
    const std::vector<forms::MsgBoxRequest>& messages() const { return m_messages; }
    int endRequests() const { return m_ends; }

    RecordingSoundPlayer& sounds() { return m_sounds; }
    // The controls announced to assistive technology, by object name.
    QStringList& announced() { return m_announced; }

    // Shows a form through the runtime (Load, then Activate).
    forms::Form& show(const QString& name) { return forms::Application::instance().show(name); }
    forms::Form* find(const QString& name) const { return forms::Application::instance().find(name); }
    // Lets deferred deletions and pending events run.
    static void settle();

private:
    static void write(const QString& path, const QByteArray& bytes);

    QTemporaryDir m_folder;
    QTemporaryDir m_user;
    QByteArray m_configHome, m_dataHome; // as they were before
    std::deque<forms::MsgBoxResult> m_answers;
    std::vector<forms::MsgBoxRequest> m_messages;
    RecordingSoundPlayer m_sounds;
    QStringList m_announced;
    int m_ends = 0;
};
