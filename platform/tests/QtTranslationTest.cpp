#include "QtTranslation.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTranslator>

#include <gtest/gtest.h>

namespace {

// Keeps a picture of a window in the suite's test-output folder, for a person to look at.
void keepPicture(QWidget& window, const QString& name)
{
    window.show();
    QApplication::processEvents();
    QDir().mkpath(QStringLiteral(PELLORAN_TEST_OUTPUT));
    window.grab().save(QStringLiteral(PELLORAN_TEST_OUTPUT "/") + name);
    window.hide();
}

}  // namespace

// Qt's own windows speak the programs' language: the save dialog, its overwrite question and
// a message box's buttons.
TEST(QtTranslation, QtsOwnDialogsSpeakTraditionalChinese)
{
    ASSERT_TRUE(QtTranslation::Install(*qApp)) << "qt6-translations-l10n is not installed";
    QTemporaryDir dir;
    QFileDialog save(nullptr, QString(), dir.path(), QStringLiteral("PDF (*.pdf)"));
    save.setOption(QFileDialog::DontUseNativeDialog);
    save.setAcceptMode(QFileDialog::AcceptSave);
    EXPECT_EQ(save.windowTitle(), "另存新檔");
    keepPicture(save, "qt-save-dialog-in-chinese.png");
    EXPECT_NE(QFileDialog::tr("%1 already exists.\nDo you want to replace it?"),
              "%1 already exists.\nDo you want to replace it?");

    QMessageBox box(QMessageBox::Question, QStringLiteral("Quorvel"), QStringLiteral("是否要刪除此檔?"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    for (const auto& [button, english] : {std::pair{QMessageBox::Yes, "&Yes"}, std::pair{QMessageBox::No, "&No"},
                                          std::pair{QMessageBox::Cancel, "Cancel"}}) {
        const QString text = box.button(button)->text();
        EXPECT_FALSE(text.isEmpty());
        EXPECT_NE(text, english);
    }
    keepPicture(box, "qt-message-box-in-chinese.png");

    // The other tests see Qt's own English again.
    for (QTranslator* translator : qApp->findChildren<QTranslator*>()) QCoreApplication::removeTranslator(translator);
}
