# The window under a dark desktop theme (GTK's Adwaita dark): every text takes the palette's
# colours and stays readable.
abre_programa QT_QPA_PLATFORMTHEME=gtk3 GTK_THEME=Adwaita:dark
escolhe_empresa TODAS
abre_pagina Crédito
captura janela-tema-escuro
