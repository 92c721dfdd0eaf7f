#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace forms {

enum class ControlKind {
    Label,
    CommandButton,
    TextBox,
    CheckBox,
    PictureBox, // a container with its own background
    Image,      // a stretched picture
    Line,
    TabStrip,
    Menu, // a menu bar entry, or an item under the menu named as its container
};

enum class Alignment { Left, Center, Right };

struct FontDesign
{
    QString family; // empty: the form's default font
    double points = 0;
    bool bold = false;
};

// One row of a form's design table. Geometry is in twips, relative to the
// container; for a line, Left/Top/Width/Height hold X1/Y1/X2/Y2.
struct ControlDesign
{
    QString name;
    ControlKind kind = ControlKind::Label;
    int index = -1; // element of a control array when 0 or more
    QString caption; // the text of a text box
    FontDesign font;
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    QString container; // a control's name (its array element 0 is not supported), or empty for the form
    Alignment alignment = Alignment::Left;
    bool transparent = false;
    std::optional<quint32> backColor; // 0x00BBGGRR
    std::optional<quint32> foreColor;
    bool border = false;
    QString picture; // a picture name (see Pictures.h)
    QString pointer; // a mouse pointer name (see Pictures.h)
    int tabIndex = -1;
    bool enabled = true;
    bool visible = true;
    int maxLength = 0; // text boxes; 0 means no limit
    bool dragAutomatic = false;
    bool autoSize = false; // labels fit their width and height to their caption
    bool focusable = false; // labels and images can take the keyboard focus
    bool checked = false;   // check boxes and menu items
    QStringList tabs;       // tab strips
    QString toolTip;
    // What assistive technology says of the control, where its caption is
    // not enough (a picture, a button without text, an answer box).
    QString accessibleName;
    QString accessibleDescription;
};

struct FormDesign
{
    QString name;
    double clientWidth = 0; // the design client area, twips
    double clientHeight = 0;
    QString caption;
    FontDesign font;
    quint32 backColor = 0xFFFFFF;
    QString icon; // a picture name
    std::vector<ControlDesign> controls;
};

} // namespace forms
