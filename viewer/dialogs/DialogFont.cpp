#include "viewer/dialogs/DialogFont.h"

#include <QWidget>

#include <fontconfig/fontconfig.h>

namespace {

QString MatchedJapaneseFamily()
{
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("Meiryo UI:lang=ja"));
    if (!pattern)
        return {};
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    QString family;
    FcChar8* name = nullptr;
    if (match && FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch)
        family = QString::fromUtf8(reinterpret_cast<const char*>(name));
    if (match)
        FcPatternDestroy(match);
    FcPatternDestroy(pattern);
    return family;
}

} // namespace

QFont DialogFont::Font()
{
    static const QString matched = MatchedJapaneseFamily();
    QFont font;
    QStringList families{"Meiryo UI"};
    if (!matched.isEmpty())
        families << matched;
    font.setFamilies(families);
    font.setPointSize(9);
    return font;
}

void DialogFont::Apply(QWidget* dialog)
{
    dialog->setFont(Font());
}
