# The Debian package of `make deb`: what the install rules lay under /usr. Its library
# dependencies come from dpkg-shlibdeps; Qt's translations are loaded at run time, so that
# package is named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME configurador-roteamento)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Vardo)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "configuração das tabelas de roteamento por BIN do servidor de pagamentos")
set(CPACK_PACKAGE_DESCRIPTION
  "Edita as tabelas de roteamento por BIN (TabRot.bin) de uma instalação do servidor de
pagamentos: cartões de crédito, débito e combustível, suas redes de destino e BINs, e a
rede padrão de cada tipo. Importa e exporta as tabelas em arquivos texto, também pela
linha de comando, para scripts.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Vardo <suporte@vardo.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
include(CPack)
