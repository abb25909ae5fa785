# An export from the menu: the file dialog in Portuguese and the closing box.
abre_programa
menu Arquivo Exportar
caixa=$(espera_janela "$JANELA")
tecla Return
dialogo=$(espera_janela "$JANELA" "$caixa")
captura dialogo-exportacao "$dialogo"
digita exportacao.txt
tecla Return
fim=$(espera_janela "$JANELA" "$caixa" "$dialogo")
captura exportacao-encerrada "$fim"
tecla Return
