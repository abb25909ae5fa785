#pragma once
// The site switch of routing by BIN: HabilitaBinsPorEmpresa of section Geral in
// <root>/config/VARDOCFG.INI.

// Reads the switch and, with `alternar`, first inverts it; returns its value after the call.
// Throws ErroES ("Unable to write to <path>") when the toggle cannot be written.
bool ChaveRoteamento(bool alternar);

// Turns routing on or off, under the same lock and with the same write as the toggle; a switch
// already so is not written. Returns its value after the call; throws as ChaveRoteamento.
bool DefineRoteamento(bool ligado);
