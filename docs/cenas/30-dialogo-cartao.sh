# The card edit dialog of an inclusion, filled in before it is confirmed.
abre_programa
escolhe_empresa TODAS
abre_pagina Crédito
botao Incluir
dialogo=$(espera_janela "$JANELA")
digita CABAL
captura dialogo-cartao "$dialogo"
