#include "viewer/dialogs/NumericKeyFilter.h"

NumericKeyFilter::Verdict NumericKeyFilter::Judge(const QString& typed, Qt::KeyboardModifiers modifiers,
                                                  bool decimals)
{
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return Verdict::Pass;
    bool printable = false;
    for (const QChar c : typed) {
        if (c.isPrint())
            printable = true;
    }
    if (!printable)
        return Verdict::Pass;
    for (const QChar c : typed) {
        if (!IsValidChar(c, decimals))
            return Verdict::Refuse;
    }
    return Verdict::Accept;
}

bool NumericKeyFilter::IsValidChar(QChar c, bool decimals)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return true;
    if (u == u'+' || u == u'-')
        return true;
    return decimals && u == u'.';
}
