# An import from the menu: its question, the file dialog in Portuguese and the closing box.
# The file is the example of the guide (docs/exemplos/importacao.txt).
abre_programa
cp "$raiz/docs/exemplos/importacao.txt" "$ARQUIVOS/"
menu Arquivo Importar
caixa=$(espera_janela "$JANELA")
captura pergunta-importacao "$caixa"
tecla Return
dialogo=$(espera_janela "$JANELA" "$caixa")
captura dialogo-importacao "$dialogo"
digita importacao.txt
tecla Return
fim=$(espera_janela "$JANELA" "$caixa" "$dialogo")
captura importacao-encerrada "$fim"
tecla Return
