# The report of the BINs that two cards of one type cover, for the table on screen: "Arquivo",
# "Verificar bins" on TODAS of the demo drive.
abre_programa
escolhe_empresa TODAS
menu Arquivo Verificar
relatorio=$(espera_janela "$JANELA")
captura relatorio-bins "$relatorio"
tecla Escape
