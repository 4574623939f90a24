#include "project/ItemTables.h"

namespace Items {

const std::array<const char16_t *, 16> kHeaderCaptions = {
    u"●文頭の項目",  u"ソフト名",       u"バージョン",   u"登録名",
    u"作成日",       u"著作権者",       u"動作環境",     u"動作確認",
    u"必要ファイル", u"転載の可否",     u"ソフトの種別", u"シェアウエア代金",
    u"連絡先",       u"メールアドレス", u"ホームページ", u"●本文内の項目",
};

const std::array<const char16_t *, kBodyCount> kBodyCaptions = {
    u"ソフト紹介", u"ファイルの説明", u"インストール",   u"アンインストール",
    u"注意事項",   u"謝辞",           u"バージョン履歴",
};

const std::array<const char16_t *, kEndCount> kEndCaptions = {
    u"著作権者(文末)", u"連絡先(文末)", u"メールアドレス(文末)", u"ホームページ(文末)", u"著作権",
};

const char16_t kEndMarkerName[] = u"●文末の項目";
const char16_t kEndSentenceCaption[] = u"●作者情報を文末に表示する";

NameIndex::NameIndex(const std::array<QString, kCount> &names)
{
    for (int k = kCount - 1; k >= 0; --k)
        m_byName.insert(QStringView(names[size_t(k)]), k); // the smallest index wins
}

Kind kindOf(int index)
{
    if (index == StartMarker)
        return Kind::StartMarker;
    if (index == BodyMarker)
        return Kind::BodyMarker;
    if (index == EndMarker)
        return Kind::EndMarker;
    if (index >= FirstBody && index <= LastBody)
        return Kind::BodyHeading;
    if (index >= FirstEnd)
        return Kind::EndLine;
    return Kind::Field;
}

const std::array<QString, kCount> &names()
{
    static const std::array<QString, kCount> all = [] {
        std::array<QString, kCount> n;
        for (int i = 0; i <= BodyMarker; ++i)
            n[size_t(i)] = QString::fromUtf16(kHeaderCaptions[size_t(i)]);
        for (int i = 0; i < kBodyCount; ++i)
            n[size_t(FirstBody + i)] = QString::fromUtf16(kBodyCaptions[size_t(i)]);
        n[EndMarker] = QString::fromUtf16(kEndMarkerName);
        for (int i = 0; i < kEndCount; ++i)
            n[size_t(FirstEnd + i)] = QString::fromUtf16(kEndCaptions[size_t(i)]);
        return n;
    }();
    return all;
}

} // namespace Items
