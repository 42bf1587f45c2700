// The floors: a Qt program that shows one plain window of the splash's size and nothing else;
// with "label", the same window with one line of Chinese in the face the splash names, so that
// what the font system costs is measured apart from what the program adds.
#include <cstring>

#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(492, 283);
    if (argc > 1 && std::strcmp(argv[1], "label") == 0) {
        auto* label = new QLabel(QStringLiteral("欢迎您使用2000年版"), &window);
        label->setFont(QFont(QStringLiteral("隶书"), 18));
        label->move(40, 40);
    }
    window.show();
    return QApplication::exec();
}
