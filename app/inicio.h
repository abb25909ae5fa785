#pragma once
// The two ways the program runs: the command line (import and export without a window) and the
// windows.

// True when the arguments ask for a command-line run (--importar, --exportar, --help, ...).
bool EhLinhaDeComando(int argc, char **argv);
int ExecutaLinhaDeComando(int argc, char **argv);
int ExecutaJanelas(int argc, char **argv);
