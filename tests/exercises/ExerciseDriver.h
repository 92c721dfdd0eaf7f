#pragma once

#include "TestProgram.h"

#include "app/RegistroForme.h"
#include "forms/Control.h"
#include "forms/Form.h"
#include "forms/Random.h"
#include "roman/ModuloRomano.h"
#include "shell/SharedState.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QLocale>
#include <QMimeData>
#include <QRegularExpression>
#include <QTest>

// Drives an exercise as the pupil does, in a program of its own. The
// question and answer-box helpers are for the reading ("Form1") and the
// writing ("Form2") exercise: they read the question off the screen and
// type; a question is chosen by scripting the draws that bring it. Numbers
// are grouped as on an Italian desktop ("1.994"), which is what the tests'
// QLocale().toString(number) gives them.
class ExerciseDriver
{
public:
    explicit ExerciseDriver(QString name, std::uint64_t seed = 1, QSize screen = QSize(1024, 768))
        : program(seed, screen), formName(std::move(name))
    {
        RegistraForme();
        QLocale::setDefault(QLocale(QLocale::Italian));
    }

    // Opens the exercise with counts left over, as another exercise leaves
    // them; with a number, that is its first question.
    forms::Form& open(std::int16_t level, std::int16_t number = 0)
    {
        if (number > 0)
            seedNext(number, 2, level);
        Stato().setNumeroMassimo(level);
        Stato().aggiungiEsatto();
        Stato().aggiungiErrato();
        return program.show(formName);
    }

    forms::Form& form() const { return *program.find(formName); }
    forms::Control& control(const QString& name, int index = -1) const { return form().control(name, index); }
    QString caption(const QString& name) const { return control(name).caption(); }
    QLineEdit* box() const { return qobject_cast<QLineEdit*>(control(QStringLiteral("Text1")).widget()); }
    void click(const QString& name) const { QTest::mouseClick(control(name).widget(), Qt::LeftButton); }

    // "1" for each of these controls that is shown, "0" for each hidden one.
    QString shown(const QStringList& names) const
    {
        QString flags;
        for (const QString& name : names)
            flags += control(name).isVisible() ? u'1' : u'0';
        return flags;
    }
    // The face shown and the counts: "si: 1/0", "no:0/ 1" ("11:" or "00:" for both faces or none).
    QString verdict() const
    {
        const QString faces = shown({QStringLiteral("ComandoIconaSi"), QStringLiteral("ComandoIconaNo")});
        return QString(faces).replace(QLatin1String("10"), QLatin1String("si")).replace(QLatin1String("01"), QLatin1String("no"))
               + u':' + caption(QStringLiteral("EtichettaEsatti")) + u'/' + caption(QStringLiteral("EtichettaErrati"));
    }
    // The sounds played, the program folder left out, joined by "|".
    QString sounds() { return program.sounds().played.join(u'|').remove(program.folder()); }

    std::int16_t shownNumber() const
    {
        const QString question = caption(QStringLiteral("Label3"));
        return formName == u"Form1" ? ModuloRomano::LeggiRomano(question.toStdString())
                         : std::int16_t(QString(question).remove(QRegularExpression(QStringLiteral("\\D"))).toInt());
    }
    QString rightAnswer() const
    {
        return formName == u"Form1" ? QString::number(shownNumber())
                         : QString::fromStdString(ModuloRomano::TraduciRomano(shownNumber())).remove(u' ');
    }

    // How text reaches the answer box.
    enum class Entry { Keys, Paste, Drop };
    void put(Entry how, const QString& text) const
    {
        if (how == Entry::Keys)
            return QTest::keyClicks(box(), text);
        if (how == Entry::Paste) { // the slot, not Ctrl+V: QTest gives that key the text "v"
            QApplication::clipboard()->setText(text);
            return box()->paste();
        }
        QMimeData data;
        data.setText(text);
        const QPointF at = QRectF(box()->rect()).center();
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box(), &enter);
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box(), &dropped);
    }
    void answer(const QString& keys) const { put(Entry::Keys, keys + u'\r'); }
    // Scripts the generator so that the next question is `number`, after the
    // colours drawn first (Load's and the question's when it opens), which
    // take any value: the number's draw falls in the middle of its share of [0, 1).
    void seedNext(std::int16_t number, int colours = 1, std::int16_t level = Stato().NumeroMassimo()) const
    {
        std::vector<float> draws(colours, 0.5f);
        draws.push_back((float(number) - 0.5f) / float(level));
        forms::scriptDraws(std::move(draws));
    }

    TestProgram program; // the program the exercise runs in, and its seams
    const QString formName;
};
