#pragma once
// The two ways the program runs: the command line (import and export without a window) and the
// windows.

#include <memory>

// True when the arguments ask for a command-line run (--importar, --exportar, --help, ...).
bool EhLinhaDeComando(int argc, char **argv);
int ExecutaLinhaDeComando(int argc, char **argv);
int ExecutaJanelas(int argc, char **argv);

class TFrmPrinc;
// The main window with its three card dialogs, which belong to it and die with it; after the
// QApplication, not yet shown.
std::unique_ptr<TFrmPrinc> CriaJanelas();
