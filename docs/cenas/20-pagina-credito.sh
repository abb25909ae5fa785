# The installation-wide table ("TODAS") opened on its credit page.
abre_programa
escolhe_empresa TODAS
abre_pagina Crédito
captura pagina-credito
