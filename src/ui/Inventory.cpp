#include "Inventory.h"

#include "project/ItemTables.h"
#include "project/Styles.h"

using namespace Qt::StringLiterals;
using namespace Items;

namespace Inventory {

const std::array<const char16_t *, 15> kFieldObjectNames = {
    u"",           u"txtSoftName",  u"txtVersion",     u"txtRegistName",
    u"txtDate",    u"cboWriter",    u"cboEnvironment", u"cboConfirmation",
    u"cboDll",     u"cboRprinting", u"cboSoftClass",   u"txtPrice",
    u"cboAddress", u"cboEMail",     u"cboHP",
};

QString element(const QString &array, int index)
{
    return u"%1(%2)"_s.arg(array).arg(index);
}

namespace {

Control make(const QString &name, Kind kind, const QString &caption, QRect twips,
             const QString &tooltip, int tab = -1, const QString &frame = {}, int flags = NoFlags,
             int item = -1)
{
    Control c;
    c.name = name;
    c.kind = kind;
    c.caption = caption;
    c.twips = twips;
    c.tooltip = tooltip;
    c.tab = tab;
    c.frame = frame;
    c.flags = flags;
    c.item = item;
    return c;
}

using Value = Document::Value;

void edits(Control &c, Value value, int valueIndex = 0, const QString &accessibleName = {})
{
    c.edits = value;
    c.valueIndex = valueIndex;
    c.accessibleName = accessibleName;
}

struct FieldRow {
    int item;
    Kind kind;
    const char16_t *tooltip;
};

const FieldRow kFieldRows[] = {
    {SoftName, Kind::TextBox, u"ソフトの名前を入力します"},
    {Version, Kind::TextBox, u"ソフトのバージョンを入力します"},
    {RegistName, Kind::TextBox, u"ソフトの登録名を入力します"},
    {Date, Kind::TextBox, u"ソフトの作成日を入力します"},
    {Writer, Kind::ComboBox, u"ソフトの著作権者を入力、または、選択します"},
    {Environment, Kind::ComboBox, u"ソフトの動作環境を入力、または、選択します"},
    {Confirmation, Kind::ComboBox, u"ソフトの動作確認を入力、または、選択します"},
    {Dll, Kind::ComboBox, u"ソフトの必要ファイルを入力、または、選択します"},
    {Reprinting, Kind::ComboBox, u"ソフトの転載の可否を入力、または、選択します"},
    {SoftClass, Kind::ComboBox, u"ソフトの種別を入力、または、選択します"},
    {Price, Kind::TextBox, u"ソフトのシェアウェア代金を入力します"},
    {Address, Kind::ComboBox, u"著作権者の連絡先を入力、または、選択します"},
    {EMail, Kind::ComboBox, u"著作権者のEメールアドレスを入力、または、選択します"},
    {HomePage, Kind::ComboBox, u"著作権者のホームページアドレスを入力、または、選択します"},
};

struct BoxRow {
    QRect twips;
    const char16_t *tooltip;
};

const BoxRow kBodyRows[kBodyCount] = {
    {{4350, 2970, 1080, 225}, u"「ソフト紹介」見出し表示の可否"},
    {{4350, 3270, 1470, 225}, u"「ファイルの説明」見出し表示の可否"},
    {{4350, 3570, 1245, 225}, u"「インストール」見出し表示の可否"},
    {{4350, 3870, 1560, 225}, u"「アンインストール」見出し表示の可否"},
    {{4350, 4170, 1020, 225}, u"「注意事項」見出し表示の可否"},
    {{4350, 4470, 660, 225}, u"「謝辞」見出し表示の可否"},
    {{4350, 4770, 1470, 225}, u"「バージョン履歴」見出し表示の可否"},
};

const BoxRow kEndRows[kEndCount] = {
    {{4410, 5580, 1500, 225}, u"著作権者(文末)の表示の可否"},
    {{4410, 5835, 1320, 225}, u"著作権者の連絡先(文末)の表示の可否"},
    {{4410, 6030, 1425, 420}, u"著作権者のEメールアドレス(文末)の表示の可否"},
    {{4410, 6450, 1860, 225}, u"著作権者のホームページアドレス(文末)の表示の可否"},
    {{4410, 6705, 840, 225}, u"著作権の表示の可否"},
};

void addFields(std::vector<Control> &c)
{
    int tab = 0;
    for (const FieldRow &row : kFieldRows) {
        const int top = 3000 + 390 * (row.item - 1);
        const QString tooltip = QString::fromUtf16(row.tooltip);
        c.push_back(make(QString::fromUtf16(kFieldObjectNames[size_t(row.item)]), row.kind, {},
                         {1500, top, 2670, 300}, tooltip, tab++, {},
                         row.item == Price ? PriceKeys : NoFlags, row.item));
        edits(c.back(), Value::FieldText, row.item);
        const int left = row.item == SoftName ? 165 : 180;
        const int width = row.item == Price ? 1320 : row.item == EMail ? 1200 : 1050;
        c.push_back(make(element(u"Label1"_s, row.item), Kind::Label,
                         QString::fromUtf16(kHeaderCaptions[size_t(row.item)]),
                         {left, top + 45, width, 240}, tooltip, -1, {}, NoFlags, row.item));
    }
}

void addHeadings(std::vector<Control> &c)
{
    c.push_back(make(element(u"Label1"_s, 0), Kind::Label, QString::fromUtf16(kHeaderCaptions[0]),
                     {120, 2700, 1575, 240}, u"文頭の見出しと項目"_s, -1, {}, NoFlags, 0));
    c.push_back(make(element(u"Label1"_s, 15), Kind::Label, QString::fromUtf16(kHeaderCaptions[15]),
                     {4320, 2700, 1650, 240}, u"本文の見出し"_s, -1, {}, NoFlags, 15));
    c.push_back(make(u"Label4"_s, Kind::Label, u"●項目の順序"_s, {6090, 2700, 1095, 225},
                     u"このリストの並び順が各項目の出力順になります"_s));
    c.push_back(make(u"Label3"_s, Kind::Label, u"●項目名の追加"_s, {4320, 7050, 1650, 240},
                     u"リストに項目を追加します"_s));
}

void addCheckBoxes(std::vector<Control> &c)
{
    int tab = 26;
    for (int i = 0; i < kBodyCount; ++i) {
        const BoxRow &r = kBodyRows[i];
        c.push_back(make(element(u"chkBody"_s, i), Kind::CheckBox,
                         QString::fromUtf16(kBodyCaptions[size_t(i)]), r.twips,
                         QString::fromUtf16(r.tooltip), tab++, {},
                         kBodyDefaults[size_t(i)] != 0 ? On : NoFlags, FirstBody + i));
        edits(c.back(), Value::HeadingBox, i);
    }
    c.push_back(make(u"chkEndSentence"_s, Kind::CheckBox, QString::fromUtf16(kEndSentenceCaption),
                     {4230, 5160, 1725, 435}, u"文末の見出しと項目の表示の可否"_s, tab++, {},
                     kEndDefault != 0 ? On : NoFlags, EndMarker));
    edits(c.back(), Value::EndSection);
    for (int i = 0; i < kEndCount; ++i) {
        const BoxRow &r = kEndRows[i];
        c.push_back(make(element(u"chkEnd"_s, i), Kind::CheckBox,
                         QString::fromUtf16(kEndCaptions[size_t(i)]), r.twips,
                         QString::fromUtf16(r.tooltip), tab++, {}, kEndDefault != 0 ? On : NoFlags,
                         FirstEnd + i));
        edits(c.back(), Value::EndLineBox, i);
    }
}

void addListControls(std::vector<Control> &c)
{
    c.push_back(make(u"txtAdd"_s, Kind::TextBox, {}, {4320, 7260, 1740, 300},
                     u"リストに追加する項目を入力します"_s, 39));
    edits(c.back(), Value::AddText, 0, u"項目名の追加"_s);
    c.push_back(make(element(u"cmdAddDel"_s, 0), Kind::Button, u"リストに追加―→"_s,
                     {4440, 7650, 1500, 360}, u"リストに項目の見出しを追加します"_s, 40));
    c.back().role = Role::AddButton;
    c.push_back(make(element(u"cmdAddDel"_s, 1), Kind::Button, u"選択項目を削除"_s,
                     {4440, 8055, 1500, 360}, u"リストの選択行を削除します"_s, 41));
    c.back().role = Role::DeleteButton;
    c.push_back(make(element(u"cmdUpDown"_s, 0), Kind::Button, u"↑"_s, {7350, 2700, 600, 300},
                     u"リストの選択行を上に移動します"_s, 42, {}, ArrowFont));
    c.back().role = Role::UpButton;
    c.push_back(make(element(u"cmdUpDown"_s, 1), Kind::Button, u"↓"_s, {7950, 2700, 600, 300},
                     u"リストの選択行を下に移動します"_s, 43, {}, ArrowFont));
    c.back().role = Role::DownButton;
    c.push_back(make(u"lstItem"_s, Kind::ListBox, {}, {6210, 3030, 2460, 6720},
                     u"このリストの並び順が各項目の出力順になります"_s, 44));
    c.back().role = Role::ItemList;
    c.back().accessibleName = u"項目の順序"_s;
    c.push_back(make(u"txtPreView"_s, Kind::Preview, {}, {120, 120, 8550, 2400},
                     u"プレビューを表示します"_s, 45));
    edits(c.back(), Value::Preview, 0, u"プレビュー"_s);
}

void addStyleFrames(std::vector<Control> &c)
{
    const QString f2 = u"Frame2"_s;
    const QString lineTip = u"区切り線の種類を指定します"_s;
    c.push_back(
        make(f2, Kind::Frame, u"●線の種類を選んで下さい"_s, {180, 8490, 2700, 1290}, lineTip));
    c.push_back(make(u"Label2"_s, Kind::Label, u"文字数　　　　　　文字まで"_s,
                     {150, 900, 2145, 240}, u"1行の桁数を指定します"_s, -1, f2, Behind));
    for (int i = 0; i < Styles::kFree; ++i) {
        c.push_back(make(element(u"optLineType"_s, i), Kind::OptionButton,
                         QString::fromUtf16(Styles::kLines[size_t(i)].caption),
                         {150 + 810 * i, 240, 780, 300}, lineTip, 14 + i, f2,
                         i == 0 ? On : NoFlags));
        edits(c.back(), Value::LineStyle);
        c.back().index = i;
    }
    c.push_back(make(element(u"optLineType"_s, Styles::kFree), Kind::OptionButton,
                     QString::fromUtf16(Styles::kFreeCaption), {150, 525, 1050, 300},
                     u"任意の区切り線を指定できます"_s, 17, f2));
    edits(c.back(), Value::LineStyle);
    c.back().index = Styles::kFree;
    c.push_back(make(u"txtLineType"_s, Kind::TextBox, {}, {1200, 525, 1200, 300},
                     u"任意の区切り線を入力します"_s, 18, f2, Disabled));
    edits(c.back(), Value::FreeLine, 0, u"任意の区切り線"_s);
    c.push_back(make(u"txtLineCount"_s, Kind::TextBox, {}, {750, 870, 570, 300},
                     u"1行の桁数を指定します"_s, 19, f2, MaxLength3));
    edits(c.back(), Value::Width, 0, u"1行の文字数"_s);

    const QString f1 = u"Frame1"_s;
    const QString bracketTip = u"括弧の種類を指定します"_s;
    c.push_back(make(f1, Kind::Frame, u"●括弧の種類を選択して下さい"_s, {3000, 8490, 2700, 945},
                     bracketTip));
    for (int i = 0; i < Styles::kFree; ++i) {
        c.push_back(make(element(u"optBracketsType"_s, i), Kind::OptionButton,
                         QString::fromUtf16(Styles::kBrackets[size_t(i)].caption),
                         {150 + 810 * i, 240, 780, 300}, bracketTip, 20 + i, f1,
                         i == 0 ? On : NoFlags));
        edits(c.back(), Value::BracketStyle);
        c.back().index = i;
    }
    c.push_back(make(element(u"optBracketsType"_s, Styles::kFree), Kind::OptionButton,
                     QString::fromUtf16(Styles::kFreeCaption), {150, 525, 900, 300},
                     u"任意の括弧を指定できます"_s, 23, f1));
    edits(c.back(), Value::BracketStyle);
    c.back().index = Styles::kFree;
    c.push_back(make(element(u"txtBracketsType"_s, 0), Kind::TextBox, {}, {1440, 525, 390, 300},
                     u"任意の括弧の左側を入力します"_s, 24, f1, Disabled));
    edits(c.back(), Value::FreeBracket, 0, u"任意の括弧の左側"_s);
    c.push_back(make(element(u"txtBracketsType"_s, 1), Kind::TextBox, {}, {2250, 525, 390, 300},
                     u"任意の括弧の右側を入力します"_s, 25, f1, Disabled));
    edits(c.back(), Value::FreeBracket, 1, u"任意の括弧の右側"_s);
    c.push_back(make(element(u"Label5"_s, 0), Kind::Label, u"左側"_s, {1050, 570, 360, 240},
                     u"括弧の左側を入力します"_s, -1, f1));
    c.back().role = Role::FreeBracketLabel;
    c.push_back(make(element(u"Label5"_s, 1), Kind::Label, u"右側"_s, {1860, 570, 360, 240},
                     u"括弧の右側を入力します"_s, -1, f1));
    c.back().role = Role::FreeBracketLabel;
    c.back().index = 1;
}

std::vector<Control> build()
{
    std::vector<Control> c;
    addStyleFrames(c);
    addFields(c);
    addHeadings(c);
    addCheckBoxes(c);
    addListControls(c);
    return c;
}

} // namespace

const std::vector<Control> &mainWindow()
{
    static const std::vector<Control> controls = build();
    return controls;
}

const Control *find(const QString &name)
{
    for (const Control &c : mainWindow()) {
        if (c.name == name)
            return &c;
    }
    return nullptr;
}

} // namespace Inventory
