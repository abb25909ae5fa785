# A whole edit with the keyboard alone: the company by its arrows, the debit page from the tree,
# a card included with Insert and saved with Escape, then "Sim".
abre_programa
tecla Tab
for _ in 1 2 3 4; do tecla Down; done
tecla Tab Down Return
tecla Insert
dialogo=$(espera_janela "$JANELA")
digita "CARTAO TECLADO"
tecla Tab Down Tab
digita 589900
tecla Tab space
captura so-teclado-dialogo "$dialogo"
tecla Tab Tab Tab Tab Return
captura so-teclado-pagina
tecla Escape
pergunta=$(espera_janela "$JANELA")
captura so-teclado-pergunta "$pergunta"
tecla Return
