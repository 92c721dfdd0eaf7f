// Screen fitting: the form's share of the screen, and controls scaled from
// the layout recorded once, by their Tags, without drift.

#include "layout/clsResize.h"

#include "forms/Control.h"
#include "forms/Form.h"
#include "forms/Units.h"

#include <QTest>

#include <array>
#include <optional>

using Geometry = std::array<double, 4>; // Left, Top, Width, Height (X1, Y1, X2, Y2)

namespace {

// 200 x 133 pixels at 15 twips a pixel. Troppo is wider than any window can
// be made once it is scaled; a menu has no place at all.
const forms::FormDesign kDesign{
    .name = QStringLiteral("FormScala"), .clientWidth = 3000, .clientHeight = 1995,
    .controls = {{.name = QStringLiteral("Troppo"), .left = 30, .top = 45, .width = 2e8, .height = 60},
                 {.name = QStringLiteral("mnuLanguages"), .kind = forms::ControlKind::Menu},
                 {.name = QStringLiteral("Label1"), .left = 300, .top = 150, .width = 1200, .height = 450},
                 {.name = QStringLiteral("Line1"), .kind = forms::ControlKind::Line, .left = 150, .top = 300,
                  .width = 2850, .height = 1500},
                 {.name = QStringLiteral("Text1"), .kind = forms::ControlKind::TextBox, .left = 135, .top = 1005,
                  .width = 1001, .height = 333}}};

struct Pass
{
    QString control, tag;
    bool minimised;
    QString follows; // the coordinates that scale
};

} // namespace

class ClsResizeTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        forms::setScreenSizeOverride(QSize(1024, 768));
        m_form = std::make_unique<forms::Form>(kDesign);
        m_fitter.emplace().SetSourceForm(m_form.get());
    }
    void cleanup() { forms::setScreenSizeOverride(QSize()); }

    // 33 % of a screen of 15360 x 11520 twips, rounded down and centred; the
    // layout was recorded at the design size, before the form changed. (The
    // common lifecycle's test sees 75 %: 11520 x 8640 at 1920, 1440.)
    void sizeFormToScreen()
    {
        m_fitter->SizeFormToScreen(33);
        QCOMPARE((Geometry{m_form->left(), m_form->top(), m_form->width(), m_form->height()}),
                 (Geometry{5146, 3859.5, 5068, 3801}));
        verifyScaled("Label1");
    }

    void tagRules_data()
    {
        QTest::addColumn<Pass>("pass");
        QTest::newRow("empty: all four") << Pass{"Label1", "", false, "LTWH"};
        QTest::newRow("@ alone: pinned") << Pass{"Label1", "@", false, ""};
        QTest::newRow("@w,h in small letters: size only") << Pass{"Label1", "@w,h", false, "WH"};
        QTest::newRow("letters anywhere, other characters ignored") << Pass{"Label1", "@ height=t", false, "TH"};
        QTest::newRow("not starting with @: all four") << Pass{"Label1", "x@L", false, "LTWH"};
        QTest::newRow("line: X across, Y down") << Pass{"Line1", "", false, "LTWH"};
        QTest::newRow("line @L,W: X1 and X2 only") << Pass{"Line1", "@L,W", false, "LW"};
        QTest::newRow("a value refused abandons the rest of that control") << Pass{"Troppo", "", false, "LT"};
        QTest::newRow("a minimised form is left alone") << Pass{"Label1", "", true, ""};
    }
    void tagRules()
    {
        QFETCH(Pass, pass);
        m_fitter->ReInitialise();
        if (pass.minimised)
            m_form->window()->showMinimized();
        resizeClient(400, 399); // twice as wide, three times as high
        // The Tag is read at every pass, not when the layout was recorded.
        forms::Control& scaled = m_form->control(pass.control);
        scaled.setTag(pass.tag);
        m_fitter->ResizeControls();
        const auto factor = [&](char letter, double ratio) { return pass.follows.contains(letter) ? ratio : 1.0; };
        const Geometry design = designOf(scaled);
        QCOMPARE(geometryOf(scaled), (Geometry{design[0] * factor('L', 2), design[1] * factor('T', 3),
                                               design[2] * factor('W', 2), design[3] * factor('H', 3)}));
        if (!pass.minimised) // the others scale whatever happened to this one
            verifyScaled("Text1");
    }

    void noDriftAfterManyResizes()
    {
        m_fitter->ReInitialise();
        for (int step = 0; step < 50; ++step) {
            resizeClient(37 + (step * 211) % 1500, 23 + (step * 137) % 900);
            m_fitter->ResizeControls();
            verifyScaled("Label1");
        }
        resizeClient(200, 133);
        m_fitter->ResizeControls();
        for (const forms::Control* each : m_form->controls())
            QCOMPARE(geometryOf(*each), designOf(*each));
    }

    // From then on it scales from the size it recorded, with no redraw until
    // the pass is over.
    void firstPassOnAFreshObjectOnlyRecords()
    {
        resizeClient(400, 399);
        m_fitter->ResizeControls();
        QCOMPARE(geometryOf(control("Label1")), designOf(control("Label1")));
        resizeClient(200, 133);
        m_fitter->ResizeControls();
        QVERIFY(m_form->window()->updatesEnabled());
        QCOMPARE(geometryOf(control("Label1")), designOf(control("Label1"), 0.5, 1.0 / 3));
    }

private:
    static Geometry geometryOf(const forms::Control& c) { return {c.left(), c.top(), c.width(), c.height()}; }
    // Where the design table puts the control, scaled by the given ratios.
    static Geometry designOf(const forms::Control& c, double rx = 1, double ry = 1)
    {
        return {c.decl().left * rx, c.decl().top * ry, c.decl().width * rx, c.decl().height * ry};
    }
    forms::Control& control(const char* name) const { return m_form->control(QString::fromLatin1(name)); }
    // Scaled from the design by the form's client area.
    void verifyScaled(const char* name) const
    {
        QCOMPARE(geometryOf(control(name)),
                 designOf(control(name), m_form->scaleWidth() / kDesign.clientWidth,
                          m_form->scaleHeight() / kDesign.clientHeight));
    }
    // Sets the client area to whole pixels, so that the ratios are exact.
    void resizeClient(int widthPx, int heightPx)
    {
        m_form->window()->resize(widthPx, heightPx + m_form->window()->height() - m_form->clientArea()->height());
        m_form->syncSize();
    }

    std::unique_ptr<forms::Form> m_form;
    std::optional<clsResize> m_fitter;
};

QTEST_MAIN(ClsResizeTest)
#include "ClsResizeTest.moc"
