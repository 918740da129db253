#include "PanelFonts.h"

#include <QFont>
#include <QStringList>

void installWindowsFontSubstitutes()
{
    static const bool installed = [] {
        const QStringList ming = {QStringLiteral("AR PL UMing TW"), QStringLiteral("Noto Serif CJK TC"),
                                  QStringLiteral("Noto Sans CJK TC")};
        const QStringList kai = QStringList{QStringLiteral("AR PL UKai TW")} + ming;
        const QStringList hei = {QStringLiteral("Noto Sans CJK TC"), QStringLiteral("AR PL UMing TW")};
        for (const char *name : {"新細明體", "細明體", "PMingLiU", "MingLiU"})
            QFont::insertSubstitutions(QString::fromUtf8(name), ming);
        for (const char *name : {"標楷體", "DFKai-SB"})
            QFont::insertSubstitutions(QString::fromUtf8(name), kai);
        for (const char *name : {"微軟正黑體", "Microsoft JhengHei"})
            QFont::insertSubstitutions(QString::fromUtf8(name), hei);
        QFont::insertSubstitutions(QStringLiteral("Arial"), {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
        QFont::insertSubstitutions(QStringLiteral("Times New Roman"),
                                   {QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif")});
        QFont::insertSubstitutions(QStringLiteral("Courier New"),
                                   {QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")});
        return true;
    }();
    (void)installed;
}
