#include "shell/application.h"

int main(int argc, char** argv) {
    return belvorine::runApplication(argc, argv);
}
