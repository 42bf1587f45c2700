// The floor: a Qt program that shows one plain window of the splash's size and nothing else.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(492, 283);
    window.show();
    return QApplication::exec();
}
