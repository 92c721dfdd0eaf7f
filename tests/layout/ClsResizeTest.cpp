// Screen fitting: the form's share of the screen, and controls scaled from
// the layout recorded once, by their Tags, without drift.

#include "layout/clsResize.h"

#include "forms/Control.h"
#include "forms/Form.h"
#include "forms/Units.h"

#include <QTest>

#include <array>
#include <optional>

using forms::ControlKind;
using Geometry = std::array<double, 4>; // Left, Top, Width, Height (X1, Y1, X2, Y2)

namespace {

// 200 x 133 pixels at 15 twips a pixel. Troppo is wider than any window can
// be made once it is scaled; a menu has no place at all.
const forms::FormDesign kDesign{
    .name = QStringLiteral("FormScala"), .clientWidth = 3000, .clientHeight = 1995,
    .controls = {{.name = QStringLiteral("Troppo"), .left = 30, .top = 45, .width = 2e8, .height = 60},
                 {.name = QStringLiteral("mnuLanguages"), .kind = ControlKind::Menu},
                 {.name = QStringLiteral("Label1"), .left = 300, .top = 150, .width = 1200, .height = 450},
                 {.name = "Line1", .kind = ControlKind::Line, .left = 150, .top = 300, .width = 2850, .height = 1500},
                 {.name = "Text1", .kind = ControlKind::TextBox, .left = 135, .top = 1005, .width = 1001, .height = 333}}};

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

    // Each row: the control, its Tag, whether the form is minimised, and the
    // coordinates that scale. An empty Tag, or one not starting with @: all
    // four; @ alone: pinned; in small letters: size only; letters anywhere,
    // other characters ignored. A line: X across, Y down; X1 and X2 only. A
    // value refused abandons the rest of that control; a minimised form is
    // left alone.
    void tagRules()
    {
        const std::tuple<const char*, const char*, bool, QString> rows[] = {
            {"Label1", "", false, "LTWH"}, {"Label1", "x@L", false, "LTWH"}, {"Label1", "@", false, ""},
            {"Label1", "@w,h", false, "WH"}, {"Label1", "@ height=t", false, "TH"}, {"Line1", "", false, "LTWH"},
            {"Line1", "@L,W", false, "LW"}, {"Troppo", "", false, "LT"}, {"Label1", "", true, ""}};
        for (const auto& [name, tag, minimised, follows] : rows) {
            init();
            m_fitter->ReInitialise();
            if (minimised)
                m_form->window()->showMinimized();
            // The Tag is read at every pass, not when the layout was recorded.
            forms::Control& scaled = m_form->control(name);
            scaled.setTag(tag);
            resizeClient(400, 399); // twice as wide, three times as high
            Geometry expected = designOf(scaled);
            for (int i = 0; i < 4; ++i)
                expected[i] *= follows.contains(QLatin1Char("LTWH"[i])) ? 2 + i % 2 : 1;
            QVERIFY2(geometryOf(scaled) == expected, name);
            if (!minimised) // the others scale whatever happened to this one
                verifyScaled("Text1");
        }
    }

    void noDriftAfterManyResizes()
    {
        m_fitter->ReInitialise();
        for (int step = 0; step < 50; ++step) {
            resizeClient(37 + (step * 211) % 1500, 23 + (step * 137) % 900);
            verifyScaled("Label1");
        }
        resizeClient(200, 133);
        for (const forms::Control* each : m_form->controls())
            QCOMPARE(geometryOf(*each), designOf(*each));
    }

    // From then on it scales from the size it recorded, with no redraw until
    // the pass is over.
    void firstPassOnAFreshObjectOnlyRecords()
    {
        forms::Control& label = m_form->control("Label1");
        resizeClient(400, 399);
        QCOMPARE(geometryOf(label), designOf(label));
        resizeClient(200, 133);
        QVERIFY(m_form->window()->updatesEnabled());
        QCOMPARE(geometryOf(label), designOf(label, 0.5, 1.0 / 3));
    }

private:
    static Geometry geometryOf(const forms::Control& c) { return {c.left(), c.top(), c.width(), c.height()}; }
    // Where the design table puts the control, scaled by the given ratios.
    static Geometry designOf(const forms::Control& c, double rx = 1, double ry = 1)
    {
        return {c.decl().left * rx, c.decl().top * ry, c.decl().width * rx, c.decl().height * ry};
    }
    // Scaled from the design by the form's client area.
    void verifyScaled(const char* name) const
    {
        const forms::Control& c = m_form->control(name);
        QCOMPARE(geometryOf(c), designOf(c, m_form->scaleWidth() / 3000, m_form->scaleHeight() / 1995));
    }
    // Sets the client area to whole pixels, so that the ratios are exact, and
    // lets the fitter scale the controls.
    void resizeClient(int widthPx, int heightPx)
    {
        m_form->window()->resize(widthPx, heightPx + m_form->window()->height() - m_form->clientArea()->height());
        m_form->syncSize();
        m_fitter->ResizeControls();
    }

    std::unique_ptr<forms::Form> m_form;
    std::optional<clsResize> m_fitter;
};

QTEST_MAIN(ClsResizeTest)
#include "ClsResizeTest.moc"
