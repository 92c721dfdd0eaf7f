// Screen fitting: the form's share of the screen, and controls scaled from
// the layout recorded once, by their Tags, without drift.

#include "layout/clsResize.h"

#include "forms/Control.h"
#include "forms/Form.h"
#include "forms/RedrawLock.h"
#include "forms/Units.h"

#include <QTest>

#include <array>

using forms::ControlKind;

namespace {

// 200 x 133 pixels at 15 twips a pixel.
constexpr double kDesignWidth = 3000;
constexpr double kDesignHeight = 1995;

using Geometry = std::array<double, 4>; // Left, Top, Width, Height (X1, Y1, X2, Y2)

forms::FormSpec designOfTheTestForm()
{
    return {
        .name = QStringLiteral("FormScala"),
        .clientWidth = kDesignWidth,
        .clientHeight = kDesignHeight,
        .controls = {
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
        },
    };
}

forms::FormSpec designWithMenus()
{
    forms::FormSpec decl = designOfTheTestForm();
    decl.controls.insert(decl.controls.begin(),
                         {{.name = QStringLiteral("mnuLanguages"), .kind = ControlKind::Menu,
                           .caption = QStringLiteral("Lingua")},
                          {.name = QStringLiteral("mnuLanguage"), .kind = ControlKind::Menu, .index = 0,
                           .caption = QStringLiteral("Italiano"),
                           .container = QStringLiteral("mnuLanguages")}});
    return decl;
}

Geometry geometryOf(const forms::Control& control)
{
    return {control.left(), control.top(), control.width(), control.height()};
}

Geometry designOf(const forms::Control& control)
{
    const forms::ControlSpec& decl = control.decl();
    return {decl.left, decl.top, decl.width, decl.height};
}

Geometry scaled(const Geometry& design, double rx, double ry)
{
    return {design[0] * rx, design[1] * ry, design[2] * rx, design[3] * ry};
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
    void init();
    void cleanup();

    void sizeFormToScreen_data();
    void sizeFormToScreen();
    void tagRules_data();
    void tagRules();
    void tagIsReadAtEveryPass();
    void linesScaleTheirEnds_data();
    void linesScaleTheirEnds();
    void containedControlsScaleInsideTheirContainer();
    void noDriftAfterManyResizes();
    void resizingTwiceToTheSameSizeChangesNothing();
    void minimisedFormIsLeftAlone();
    void firstPassOnAFreshObjectOnlyRecords();
    void formWithoutControlsReturnsAtOnce();
    void sourceFormSetAfterRecordingIsNotRecorded();
    void menuItemsAreSkipped();
    void aRefusedValueAbandonsOnlyThatControl();

private:
    forms::Control& control(const char* name) const { return m_form->control(QString::fromLatin1(name)); }
    std::unique_ptr<forms::Form> m_form;
    std::unique_ptr<clsResize> m_fitter;
};

void ClsResizeTest::init()
{
    forms::setScreenSizeOverride(QSize(1024, 768));
    m_form = std::make_unique<forms::Form>(designOfTheTestForm());
    m_fitter = std::make_unique<clsResize>();
    m_fitter->SetSourceForm(m_form.get());
}

void ClsResizeTest::cleanup()
{
    m_fitter.reset();
    m_form.reset();
    forms::setScreenSizeOverride(QSize());
}

void ClsResizeTest::sizeFormToScreen_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<int>("percent");
    QTest::addColumn<Geometry>("form"); // Left, Top, Width, Height

    QTest::newRow("75 % of 15360 x 11520 twips") << QSize(1024, 768) << 75 << Geometry{1920, 1440, 11520, 8640};
    QTest::newRow("33 % rounds down") << QSize(1024, 768) << 33 << Geometry{5146, 3859.5, 5068, 3801};
    QTest::newRow("75 % of a wide screen") << QSize(1920, 1080) << 75 << Geometry{3600, 2025, 21600, 12150};
    QTest::newRow("the whole screen") << QSize(1024, 768) << 100 << Geometry{0, 0, 15360, 11520};
}

void ClsResizeTest::sizeFormToScreen()
{
    QFETCH(QSize, screen);
    QFETCH(int, percent);
    QFETCH(Geometry, form);

    forms::setScreenSizeOverride(screen);
    m_fitter->SizeFormToScreen(std::uint8_t(percent));

    QCOMPARE(m_form->left(), form[0]);
    QCOMPARE(m_form->top(), form[1]);
    QCOMPARE(m_form->width(), form[2]);
    QCOMPARE(m_form->height(), form[3]);
    // The layout was recorded at the design size, before the form changed.
    QCOMPARE(m_fitter->recordedWidth(), std::int32_t(kDesignWidth));
    QCOMPARE(m_fitter->recordedHeight(), std::int32_t(kDesignHeight));
    const double rx = m_form->scaleWidth() / kDesignWidth;
    const double ry = m_form->scaleHeight() / kDesignHeight;
    QCOMPARE(geometryOf(control("Label1")), scaled(designOf(control("Label1")), rx, ry));
}

void ClsResizeTest::tagRules_data()
{
    QTest::addColumn<QString>("tag");
    QTest::addColumn<QString>("follows"); // the coordinates that scale

    QTest::newRow("empty: all four") << "" << "LTWH";
    QTest::newRow("@ alone: pinned") << "@" << "";
    QTest::newRow("@w,h in small letters: size only") << "@w,h" << "WH";
    QTest::newRow("@L,T: moves only") << "@L,T" << "LT";
    QTest::newRow("letters anywhere, other characters ignored") << "@ height=t" << "TH";
    QTest::newRow("not starting with @: all four") << "x@L" << "LTWH";
    QTest::newRow("a word without @: all four") << "Tavendel" << "LTWH";
}

void ClsResizeTest::tagRules()
{
    QFETCH(QString, tag);
    QFETCH(QString, follows);

    forms::Control& label = control("Label1");
    label.setTag(tag);
    m_fitter->ReInitialise();
    resizeClient(*m_form, 400, 399); // twice as wide, three times as high
    m_fitter->ResizeControls();

    const Geometry design = designOf(label);
    const Geometry expected{follows.contains('L') ? design[0] * 2 : design[0],
                            follows.contains('T') ? design[1] * 3 : design[1],
                            follows.contains('W') ? design[2] * 2 : design[2],
                            follows.contains('H') ? design[3] * 3 : design[3]};
    QCOMPARE(geometryOf(label), expected);
}

void ClsResizeTest::tagIsReadAtEveryPass()
{
    forms::Control& label = control("Label1");
    m_fitter->ReInitialise();
    resizeClient(*m_form, 400, 399);
    label.setTag(QStringLiteral("@"));
    m_fitter->ResizeControls();
    QCOMPARE(geometryOf(label), designOf(label));
    label.setTag(QString());
    m_fitter->ResizeControls();
    QCOMPARE(geometryOf(label), scaled(designOf(label), 2, 3));
}

void ClsResizeTest::linesScaleTheirEnds_data()
{
    QTest::addColumn<QString>("tag");
    QTest::addColumn<Geometry>("ends"); // X1, Y1, X2, Y2

    QTest::newRow("X across, Y down") << "" << Geometry{150 * 2, 300 * 3, 2850 * 2, 1500 * 3};
    QTest::newRow("@L,W: X1 and X2 only") << "@L,W" << Geometry{150 * 2, 300, 2850 * 2, 1500};
    QTest::newRow("@T,H: Y1 and Y2 only") << "@T,H" << Geometry{150, 300 * 3, 2850, 1500 * 3};
}

void ClsResizeTest::linesScaleTheirEnds()
{
    QFETCH(QString, tag);
    QFETCH(Geometry, ends);

    forms::Control& line = control("Line1");
    line.setTag(tag);
    m_fitter->ReInitialise();
    resizeClient(*m_form, 400, 399);
    m_fitter->ResizeControls();
    QCOMPARE(geometryOf(line), ends);
}

void ClsResizeTest::containedControlsScaleInsideTheirContainer()
{
    m_fitter->ReInitialise();
    resizeClient(*m_form, 400, 399);
    m_fitter->ResizeControls();
    forms::Control& inner = control("Label2");
    QCOMPARE(geometryOf(inner), scaled(designOf(inner), 2, 3));
    QCOMPARE(inner.widget()->parentWidget(), control("Picture1").widget());
}

void ClsResizeTest::noDriftAfterManyResizes()
{
    m_fitter->ReInitialise();
    for (int step = 0; step < 200; ++step) {
        const int width = 37 + (step * 211) % 1500;
        const int height = 23 + (step * 137) % 900;
        resizeClient(*m_form, width, height);
        m_fitter->ResizeControls();
        // Every pass computes from the record, never from the last pass.
        const double rx = m_form->scaleWidth() / kDesignWidth;
        const double ry = m_form->scaleHeight() / kDesignHeight;
        for (const char* name : {"Label1", "Text1"})
            QCOMPARE(geometryOf(control(name)), scaled(designOf(control(name)), rx, ry));
    }
    resizeClient(*m_form, 200, 133);
    m_fitter->ResizeControls();
    for (const forms::Control* each : m_form->controls())
        QCOMPARE(geometryOf(*each), designOf(*each));
}

void ClsResizeTest::resizingTwiceToTheSameSizeChangesNothing()
{
    m_fitter->SizeFormToScreen(75);
    std::vector<Geometry> first;
    for (const forms::Control* each : m_form->controls())
        first.push_back(geometryOf(*each));
    m_fitter->SizeFormToScreen(75);
    m_fitter->ResizeControls();
    for (std::size_t i = 0; i < first.size(); ++i)
        QCOMPARE(geometryOf(*m_form->controls()[i]), first[i]);
}

void ClsResizeTest::minimisedFormIsLeftAlone()
{
    m_fitter->ReInitialise();
    m_form->window()->showMinimized();
    QVERIFY(m_form->isMinimized());
    resizeClient(*m_form, 400, 399);
    const int locks = forms::RedrawLock::timesTaken();

    m_fitter->ResizeControls();

    QCOMPARE(forms::RedrawLock::timesTaken(), locks);
    for (const forms::Control* each : m_form->controls())
        QCOMPARE(geometryOf(*each), designOf(*each));
}

void ClsResizeTest::firstPassOnAFreshObjectOnlyRecords()
{
    resizeClient(*m_form, 400, 399);
    const int locks = forms::RedrawLock::timesTaken();
    QVERIFY(m_fitter->needsInitialise());

    m_fitter->ResizeControls();

    QVERIFY(!m_fitter->needsInitialise());
    QCOMPARE(forms::RedrawLock::timesTaken(), locks);
    for (const forms::Control* each : m_form->controls())
        QCOMPARE(geometryOf(*each), designOf(*each));
    QCOMPARE(m_fitter->recordedWidth(), 6000);
    QCOMPARE(m_fitter->recordedHeight(), 5985);

    // From now on it scales, and takes the redraw lock once for the pass.
    resizeClient(*m_form, 200, 133);
    m_fitter->ResizeControls();
    QCOMPARE(forms::RedrawLock::timesTaken(), locks + 1);
    QVERIFY(m_form->window()->updatesEnabled());
    QCOMPARE(geometryOf(control("Label1")), scaled(designOf(control("Label1")), 0.5, 1.0 / 3));
}

void ClsResizeTest::formWithoutControlsReturnsAtOnce()
{
    forms::Form bare({.name = QStringLiteral("FormVuoto"), .clientWidth = 3000, .clientHeight = 1995});
    clsResize fitter;
    fitter.SetSourceForm(&bare);
    const int locks = forms::RedrawLock::timesTaken();
    fitter.ResizeControls();
    QVERIFY(fitter.needsInitialise());
    QCOMPARE(forms::RedrawLock::timesTaken(), locks);
}

void ClsResizeTest::sourceFormSetAfterRecordingIsNotRecorded()
{
    m_fitter->ReInitialise();
    forms::Form other(designWithMenus());
    m_fitter->SetSourceForm(&other);
    QCOMPARE(m_fitter->SourceForm(), &other);
    QCOMPARE(m_fitter->controlPositions().front().Control, m_form->controls().front());

    m_fitter->ReInitialise();
    QCOMPARE(m_fitter->controlPositions().size(), other.controls().size());
    QCOMPARE(m_fitter->controlPositions().front().Control, other.controls().front());
}

void ClsResizeTest::menuItemsAreSkipped()
{
    forms::Form form(designWithMenus());
    clsResize fitter;
    fitter.SetSourceForm(&form);
    fitter.ReInitialise();
    const clsResize::ControlPosition& menu = fitter.controlPositions().front();
    QCOMPARE(menu.Control->name(), QStringLiteral("mnuLanguages"));
    QCOMPARE((Geometry{double(menu.Left), double(menu.Top), double(menu.Width), double(menu.Height)}),
             (Geometry{0, 0, 0, 0}));

    resizeClient(form, 400, 399);
    fitter.ResizeControls();

    forms::Control& item = form.control(QStringLiteral("mnuLanguage"), 0);
    QCOMPARE(item.caption(), QStringLiteral("Italiano"));
    QVERIFY(item.isVisible());
    forms::Control& label = form.control(QStringLiteral("Label1"));
    QCOMPARE(geometryOf(label), scaled(designOf(label), 2, 3));
}

// A failure other than a missing property (here a width beyond what any
// window can take) abandons the rest of that control, and only that one.
void ClsResizeTest::aRefusedValueAbandonsOnlyThatControl()
{
    forms::FormSpec decl = designOfTheTestForm();
    constexpr double kWiderThanAnyWindow = 2e8; // twips; twice that no window can take
    decl.controls.insert(decl.controls.begin() + 1,
                         {.name = QStringLiteral("Troppo"), .kind = ControlKind::Label,
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
                 scaled(designOf(form.control(QString::fromLatin1(name))), 2, 3));
}

QTEST_MAIN(ClsResizeTest)
#include "ClsResizeTest.moc"
