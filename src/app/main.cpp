// The setup guide for the KX-7040: one main window built from the board
// description compiled into the program.

#include <QApplication>

#include "app/main_form.h"
#include "platform/application.h"

int main(int argc, char** argv) {
    QApplication qtApp(argc, argv);
    QApplication::setApplicationName("KX-7040 Setup");
    return kx::RunSetupProgram();
}
