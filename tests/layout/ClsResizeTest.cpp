// Screen fitting: the form's share of the screen, and controls scaled from
// the layout recorded once, by their Tags, without drift.

#include "layout/clsResize.h"

#include "forms/Control.h"
#include "forms/Form.h"
#include "forms/Units.h"

#include <QTest>

#include <array>

using forms::ControlKind;

namespace {

// 200 x 133 pixels at 15 twips a pixel.
constexpr double kDesignWidth = 3000;
constexpr double kDesignHeight = 1995;
constexpr double kWiderThanAnyWindow = 2e8; // twips; twice that no window can take

using Geometry = std::array<double, 4>; // Left, Top, Width, Height (X1, Y1, X2, Y2)

forms::FormDesign designOfTheTestForm()
{
    return {.name = QStringLiteral("FormScala"), .clientWidth = kDesignWidth, .clientHeight = kDesignHeight,
            .controls = {
                {.name = QStringLiteral("mnuLanguages"), .kind = ControlKind::Menu, .caption = QStringLiteral("Lingua")},
                {.name = QStringLiteral("mnuLanguage"), .kind = ControlKind::Menu, .index = 0,
                 .caption = QStringLiteral("Italiano"), .container = QStringLiteral("mnuLanguages")},
                {.name = QStringLiteral("Label1"), .kind = ControlKind::Label,
                 .left = 300, .top = 150, .width = 1200, .height = 450},
                {.name = QStringLiteral("Picture1"), .kind = ControlKind::PictureBox,
                 .left = 1500, .top = 600, .width = 1350, .height = 1200},
                {.name = QStringLiteral("Label2"), .kind = ControlKind::Label, .left = 75, .top = 90,
                 .width = 600, .height = 300, .container = QStringLiteral("Picture1")},
                {.name = QStringLiteral("Line1"), .kind = ControlKind::Line,
                 .left = 150, .top = 300, .width = 2850, .height = 1500},
                {.name = QStringLiteral("Text1"), .kind = ControlKind::TextBox,
                 .left = 135, .top = 1005, .width = 1001, .height = 333},
            }};
}

Geometry geometryOf(const forms::Control& control)
{
    return {control.left(), control.top(), control.width(), control.height()};
}

// Where the design table puts the control, scaled by the given ratios.
Geometry designOf(const forms::Control& control, double rx = 1, double ry = 1)
{
    const forms::ControlDesign& decl = control.decl();
    return {decl.left * rx, decl.top * ry, decl.width * rx, decl.height * ry};
}

// Sets the client area to whole pixels, so that the ratios are exact.
void resizeClient(forms::Form& form, int widthPx, int heightPx)
{
    const int menuBar = form.window()->height() - form.clientArea()->height();
    form.window()->resize(widthPx, heightPx + menuBar);
    form.syncSize();
}

} // namespace

class ClsResizeTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        forms::setScreenSizeOverride(QSize(1024, 768));
        m_form = std::make_unique<forms::Form>(designOfTheTestForm());
        m_fitter = std::make_unique<clsResize>();
        m_fitter->SetSourceForm(m_form.get());
    }
    void cleanup()
    {
        m_fitter.reset();
        m_form.reset();
        forms::setScreenSizeOverride(QSize());
    }

    void sizeFormToScreen_data()
    {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<int>("percent");
        QTest::addColumn<Geometry>("form");

        QTest::newRow("75 % of 15360 x 11520 twips") << QSize(1024, 768) << 75 << Geometry{1920, 1440, 11520, 8640};
        QTest::newRow("33 % rounds down") << QSize(1024, 768) << 33 << Geometry{5146, 3859.5, 5068, 3801};
        QTest::newRow("75 % of a wide screen") << QSize(1920, 1080) << 75 << Geometry{3600, 2025, 21600, 12150};
        QTest::newRow("the whole screen") << QSize(1024, 768) << 100 << Geometry{0, 0, 15360, 11520};
    }
    void sizeFormToScreen()
    {
        QFETCH(QSize, screen);
        QFETCH(int, percent);
        QFETCH(Geometry, form);

        forms::setScreenSizeOverride(screen);
        m_fitter->SizeFormToScreen(std::uint8_t(percent));

        QCOMPARE((Geometry{m_form->left(), m_form->top(), m_form->width(), m_form->height()}), form);
        // The layout was recorded at the design size, before the form changed.
        QCOMPARE(geometryOf(control("Label1")), designOf(control("Label1"), m_form->scaleWidth() / kDesignWidth,
                                                             m_form->scaleHeight() / kDesignHeight));
    }

    void tagRules_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("tag");
        QTest::addColumn<QString>("follows"); // the coordinates that scale

        QTest::newRow("empty: all four") << "Label1" << "" << "LTWH";
        QTest::newRow("@ alone: pinned") << "Label1" << "@" << "";
        QTest::newRow("@w,h in small letters: size only") << "Label1" << "@w,h" << "WH";
        QTest::newRow("@L,T: moves only") << "Label1" << "@L,T" << "LT";
        QTest::newRow("letters anywhere, other characters ignored") << "Label1" << "@ height=t" << "TH";
        QTest::newRow("not starting with @: all four") << "Label1" << "x@L" << "LTWH";
        QTest::newRow("a word without @: all four") << "Label1" << "Tavendel" << "LTWH";
        QTest::newRow("line: X across, Y down") << "Line1" << "" << "LTWH";
        QTest::newRow("line @L,W: X1 and X2 only") << "Line1" << "@L,W" << "LW";
        QTest::newRow("line @T,H: Y1 and Y2 only") << "Line1" << "@T,H" << "TH";
        QTest::newRow("inside a container") << "Label2" << "" << "LTWH";
    }
    void tagRules()
    {
        QFETCH(QString, control);
        QFETCH(QString, tag);
        QFETCH(QString, follows);

        m_fitter->ReInitialise();
        resizeClient(*m_form, 400, 399); // twice as wide, three times as high
        // The Tag is read at every pass, not when the layout was recorded.
        forms::Control& scaled = m_form->control(control);
        scaled.setTag(tag);
        m_fitter->ResizeControls();

        const auto factor = [&](char letter, double ratio) { return follows.contains(letter) ? ratio : 1.0; };
        const Geometry design = designOf(scaled);
        QCOMPARE(geometryOf(scaled), (Geometry{design[0] * factor('L', 2), design[1] * factor('T', 3),
                                               design[2] * factor('W', 2), design[3] * factor('H', 3)}));
    }

    void noDriftAfterManyResizes()
    {
        m_fitter->ReInitialise();
        for (int step = 0; step < 200; ++step) {
            resizeClient(*m_form, 37 + (step * 211) % 1500, 23 + (step * 137) % 900);
            m_fitter->ResizeControls();
            const double rx = m_form->scaleWidth() / kDesignWidth;
            const double ry = m_form->scaleHeight() / kDesignHeight;
            for (const char* name : {"Label1", "Text1"})
                QCOMPARE(geometryOf(control(name)), designOf(control(name), rx, ry));
        }
        resizeClient(*m_form, 200, 133);
        m_fitter->ResizeControls();
        verifyDesignLayout(*m_form);
    }

    void minimisedFormIsLeftAlone()
    {
        m_fitter->ReInitialise();
        m_form->window()->showMinimized();
        QVERIFY(m_form->isMinimized());
        resizeClient(*m_form, 400, 399);
        m_fitter->ResizeControls();
        verifyDesignLayout(*m_form);
    }

    void firstPassOnAFreshObjectOnlyRecords()
    {
        resizeClient(*m_form, 400, 399);
        m_fitter->ResizeControls();
        verifyDesignLayout(*m_form);

        // From now on it scales, from the size it recorded, with no redraw
        // until the pass is over; menus have no place and are left be.
        resizeClient(*m_form, 200, 133);
        m_fitter->ResizeControls();
        QVERIFY(m_form->window()->updatesEnabled());
        QCOMPARE(geometryOf(control("Label1")), designOf(control("Label1"), 0.5, 1.0 / 3));
        QVERIFY(m_form->control(QStringLiteral("mnuLanguage"), 0).isVisible());
        QCOMPARE(control("Label2").widget()->parentWidget(), control("Picture1").widget());

        // A form without controls has nothing to scale.
        forms::Form bare({.name = QStringLiteral("FormVuoto"), .clientWidth = 3000, .clientHeight = 1995});
        clsResize fitter;
        fitter.SetSourceForm(&bare);
        fitter.ResizeControls();
    }

    // A failure other than a missing property (here a width beyond what any
    // window can take) abandons the rest of that control, and only that one.
    void aRefusedValueAbandonsOnlyThatControl()
    {
        forms::FormDesign decl = designOfTheTestForm();
        decl.controls.insert(decl.controls.begin() + 3, {.name = QStringLiteral("Troppo"), .kind = ControlKind::Label,
                                                         .left = 30, .top = 45, .width = kWiderThanAnyWindow, .height = 60});
        forms::Form form(decl);
        clsResize fitter;
        fitter.SetSourceForm(&form);
        fitter.ReInitialise();
        resizeClient(form, 400, 399);
        fitter.ResizeControls();

        QCOMPARE(geometryOf(form.control(QStringLiteral("Troppo"))), (Geometry{60, 135, kWiderThanAnyWindow, 60}));
        for (const char* name : {"Label1", "Text1"})
            QCOMPARE(geometryOf(form.control(QString::fromLatin1(name))),
                     designOf(form.control(QString::fromLatin1(name)), 2, 3));
    }

private:
    forms::Control& control(const char* name) const { return m_form->control(QString::fromLatin1(name)); }
    static void verifyDesignLayout(const forms::Form& form)
    {
        for (const forms::Control* each : form.controls())
            QCOMPARE(geometryOf(*each), designOf(*each));
    }

    std::unique_ptr<forms::Form> m_form;
    std::unique_ptr<clsResize> m_fitter;
};

QTEST_MAIN(ClsResizeTest)
#include "ClsResizeTest.moc"
