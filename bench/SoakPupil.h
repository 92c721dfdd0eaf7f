#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace forms {
class Control;
class Form;
}

// A pupil who never tires, for the soak: from the splash to the menu, then
// the three exercises in turn at all five levels, right and wrong answers,
// the hint, "avanti", back to the menu with "Esci", and a switch between the
// two shipped languages through the Language menu every hundred answers.
// Everything goes through the real widgets (Qt Test clicks, key presses and
// drags), and the window is drawn after every answer, as a screen would.
// The program's seams (folder, generator, message boxes, sounds) must be set
// before it starts.
class SoakPupil
{
public:
    // Called whenever the menu is shown, with the answers given so far: the
    // same forms are loaded there in every run, so samples taken there compare.
    using MenuHook = std::function<void(long answers)>;

    // With a shots folder, the first pictures of the windows are saved there.
    explicit SoakPupil(MenuHook atTheMenu, QString shotsFolder = {});

    // Starts at the splash and works until `answers` answers have been given.
    void work(long answers);

private:
    void visit(int visit, long until);
    void switchLanguage(forms::Form& menu);
    void readOrWrite(forms::Form& exercise, bool reading, long until);
    void match(forms::Form& exercise, long until);
    void answerInTheBox(forms::Form& exercise, const QString& keys);
    void eraseTheBox(forms::Form& exercise);
    void drag(forms::Control& card, forms::Control& value);
    void click(forms::Control& control);
    void leave(forms::Form& exercise);
    void answered(forms::Form& exercise);
    // Lets pending events run and draws the window, as the screen would.
    void look(const forms::Form& form);

    MenuHook m_atTheMenu;
    QString m_shots;
    long m_answers = 0;
    long m_nextLanguage = 0;
    int m_shotsTaken = 0;
};
