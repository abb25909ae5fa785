#include "env/redes.h"

bool CatalogoRedes::CarregaComunic() { return false; }
int CatalogoRedes::CarregaModulos() { return 0; }
std::uint16_t CatalogoRedes::TiposDaRede(std::uint16_t) const { return 0; }
QString CatalogoRedes::ModuloDaRede(std::uint16_t) const { return {}; }
QByteArray CatalogoRedes::NomeDaRede(std::uint16_t) const { return {}; }
std::uint16_t CatalogoRedes::CodigoDaRede(const QByteArray &) const { return 0; }
void CatalogoRedes::NomeConexaoTecban(QByteArray &) const {}
QList<QByteArray> CatalogoRedes::RedesDoTipo(std::uint16_t) const { return {QByteArrayLiteral("Bloqueada")}; }
