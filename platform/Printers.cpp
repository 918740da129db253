#include "Printers.h"

#include <QDir>
#include <QFileDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace Printers {

namespace {

std::function<QStringList()>& systemPrinters()
{
    static std::function<QStringList()> names;
    return names;
}

bool& filePrinting()
{
    static bool available = true;
    return available;
}

QStringList systemPrinterNames()
{
    return systemPrinters() ? systemPrinters()() : QPrinterInfo::availablePrinterNames();
}

}  // namespace

int Count() { return int(systemPrinterNames().size()) + (filePrinting() ? 1 : 0); }

std::unique_ptr<QPrinter> ForOnePrint(const std::function<QString()>& chooseFile)
{
    if (!systemPrinterNames().isEmpty()) return std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (!filePrinting()) return nullptr;
    QString file = chooseFile ? chooseFile() : QString();
    if (file.isEmpty()) return nullptr;
    if (!file.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)) file += QLatin1String(".pdf");
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(file);
    return printer;
}

QString AskForPdfFile(QWidget* parent)
{
    QFileDialog dialog(parent, QString(), QDir::homePath(), QStringLiteral("PDF (*.pdf)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty() ? dialog.selectedFiles().first()
                                                                                   : QString();
}

void setSystemPrinters(std::function<QStringList()> names) { systemPrinters() = std::move(names); }
void setFilePrinting(bool available) { filePrinting() = available; }

}  // namespace Printers
