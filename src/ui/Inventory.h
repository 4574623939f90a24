#pragma once

#include <QRect>
#include <QString>
#include <vector>

// The main window's controls as data: object name, kind, caption, tooltip,
// geometry in twips, tab order and design-time state. FrmMain builds its
// widgets from this table; the tests check the window against it.
namespace Inventory {

enum class Kind {
    Label,
    TextBox,
    ComboBox,
    CheckBox,
    OptionButton,
    Frame,
    Button,
    ListBox,
    Preview
};

enum Flag {
    NoFlags = 0,
    Disabled = 1,   // disabled at design time
    On = 2,         // check box checked, option selected
    MaxLength3 = 4, // accepts at most three characters
    ArrowFont = 8,  // "ＭＳ Ｐゴシック" 11.25 pt bold
    PriceKeys = 16, // takes only the keys of a price
    Behind = 32,    // lies under the controls that overlap it
};

// What a control is to the window, beside fields, their labels and the
// heading boxes, which the item index names.
enum class Role {
    None,
    LineOption,
    FreeLine,
    LineCount,
    BracketOption,
    FreeBracket,
    FreeBracketLabel,
    AddText,
    AddButton,
    DeleteButton,
    UpButton,
    DownButton,
    ItemList,
    Preview,
};

struct Control {
    QString name; // object name; array elements as "chkBody(0)"
    Kind kind;
    QString caption;
    QRect twips; // left, top, width, height; inside its frame when it has one
    QString tooltip;
    int tab = -1;  // tab order, -1 for controls without focus
    QString frame; // object name of the enclosing frame, or empty
    int flags = NoFlags;
    int item = -1; // item index of a field, a label of Label1 or a heading box
    Role role = Role::None;
    int index = 0; // within its role: option number, left or right bracket
};

// Every control of the main window, frames before their contents.
const std::vector<Control> &mainWindow();
const Control *find(const QString &name);

// Array element names as the tables spell them.
QString element(const QString &array, int index);

} // namespace Inventory
