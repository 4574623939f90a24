#pragma once

#include "document/Document.h"

#include <QRect>
#include <QString>
#include <array>
#include <optional>
#include <vector>

// The main window's controls as data: object name, kind, caption, tooltip,
// geometry in twips, tab order, design-time state, accessible name and the
// document value each edits. FrmMain builds, binds and mirrors its widgets
// from this table; the tests check the window against it.
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

// What a control that edits no value is to the window.
enum class Role {
    None,
    FreeBracketLabel,
    AddButton,
    DeleteButton,
    UpButton,
    DownButton,
    ItemList,
};

struct Control {
    QString name; // object name; array elements as "chkBody(0)"
    Kind kind = Kind::Label;
    QString caption;
    QRect twips; // left, top, width, height; inside its frame when it has one
    QString tooltip;
    int tab = -1;  // tab order, -1 for controls without focus
    QString frame; // object name of the enclosing frame, or empty
    int flags = NoFlags;
    int item = -1; // item index of a field, a label of Label1 or a heading box
    Role role = Role::None;
    int index = 0; // within its role or value: option number, left or right bracket
    // The document value the control edits (Document::text and state), and
    // which of its kind; an option edits its style's state, set to index.
    std::optional<Document::Value> edits;
    int valueIndex = 0;
    QString accessibleName; // where the caption beside it does not say it
};

// Object names of the fourteen field controls, by item index (0 and 15 empty).
extern const std::array<const char16_t *, 15> kFieldObjectNames;

// Every control of the main window, frames before their contents.
const std::vector<Control> &mainWindow();
const Control *find(const QString &name);

// Array element names as the tables spell them.
QString element(const QString &array, int index);

} // namespace Inventory
