#pragma once
// The two ways the program runs: the command line (import and export without a window) and the
// windows.

#include <QStringList>

#include <memory>
#include <optional>

// Exit codes of the program.
constexpr int CodigoOk = 0;
constexpr int CodigoErro = 1;      // a wrong argument, or an error that ended the run
constexpr int CodigoRecusados = 2; // an import that ran to its end with records refused
constexpr int CodigoOcupado = 75;  // EX_TEMPFAIL: files held by another process; try again
constexpr int CodigoAchados = 2; // a check found conflicts, entries it cannot compare, or tables it
                                 // cannot read

// The program: the command line when it asks for a command, else the main window.
int ExecutaPrograma(int argc, char **argv);
// Runs the command that the arguments (program name first) ask for and returns its exit code;
// nullopt when they ask for the window. Needs the QCoreApplication.
std::optional<int> ExecutaLinhaDeComando(const QStringList &argumentos);
int ExecutaJanelas(int argc, char **argv);
// Qt's own texts (buttons, file dialogs, command-line help) in Brazilian Portuguese, whatever
// the locale; false when the translation is not installed (they stay in English).
bool CarregaTraducaoQt();

class TFrmPrinc;
// The main window with its three card dialogs, which belong to it and die with it; after the
// QApplication, not yet shown.
std::unique_ptr<TFrmPrinc> CriaJanelas();
