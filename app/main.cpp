#include "app/DisplayCheck.h"
#include "app/Program.h"

#include <QApplication>
#include <QDialog>

// Stands in for the game window until it exists.
int main(int argc, char* argv[])
{
    if (!RequireDisplay(argc, argv))
        return 1;
    QApplication application(argc, argv);
    SetUpApplication(application);
    QDialog window;
    window.setWindowTitle("Tocklet");
    window.setFixedSize(449, 407);
    window.exec();
    return 0;
}
