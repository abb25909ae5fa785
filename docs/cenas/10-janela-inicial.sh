# The main window right after start: no company chosen yet, the option tree disabled.
abre_programa
captura janela-inicial
