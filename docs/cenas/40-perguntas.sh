# Two real question boxes with Qt's own buttons in Portuguese: the deletion of a card (Sim /
# Não) and, after it, the save question of "Retornar" (Sim / Não / Cancelar) over the window.
abre_programa
escolhe_empresa TODAS
abre_pagina Crédito
linha_grade 6
botao Excluir
caixa=$(espera_janela "$JANELA")
captura pergunta-exclusao "$caixa"
tecla Return
botao Retornar
espera_janela "$JANELA" "$caixa" >/dev/null
captura pergunta-gravar "$JANELA"
tecla Escape
