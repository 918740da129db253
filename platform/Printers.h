#pragma once
// The printers the programs print on: the system's, and one that prints to a PDF file the
// user names (as a print dialog's "print to file" does), so that printing works on a machine
// without a print system.

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QPrinter;
class QWidget;

namespace Printers {

// How many printers a print can go to: the system's and the PDF file printer.
int Count();

// A printer for one print: the system's default printer, else the PDF file printer writing
// to the file chooseFile gives. nullptr when there is no printer, or when no file name was
// given (cancelled).
std::unique_ptr<QPrinter> ForOnePrint(const std::function<QString()>& chooseFile);

// Asks for the PDF file to print to, in a save dialog; "" when cancelled.
QString AskForPdfFile(QWidget* parent);

// Test hooks: the system's printer names (an empty function restores the real list), and
// whether files can be printed to.
void setSystemPrinters(std::function<QStringList()> names);
void setFilePrinting(bool available);

}  // namespace Printers
