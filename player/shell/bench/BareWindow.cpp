// The yardstick of the start-up benchmark (scripts/startup-bench.sh): the least a Qt Widgets
// program does before its window shows, built with the same compiler, flags and Qt.
#include <QApplication>
#include <QLabel>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("Bare Qt window"));
    label.show();
    return app.exec();
}
