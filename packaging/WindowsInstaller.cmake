# The Windows installer, bosquell-<version>-x64.msi: the zip's files (the same staged install
# tree, stripped the same way) built into an MSI by wixl from windows/bosquell.wxs. CPack's
# External generator hands the staged tree to windows/MsiPackage.cmake, which runs wixl with the
# version, names and upgrade code below, so none of them is written a second time.
list(APPEND CPACK_GENERATOR External)
set(CPACK_EXTERNAL_ENABLE_STAGING ON)
set(CPACK_EXTERNAL_PACKAGE_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/windows/MsiPackage.cmake)

set(CPACK_BOSQUELL_MSI_SOURCE ${CMAKE_CURRENT_LIST_DIR}/windows/bosquell.wxs)
set(CPACK_BOSQUELL_MSI_ICON ${PROJECT_SOURCE_DIR}/src/window/resources/bosquell.ico)
set(CPACK_BOSQUELL_MSI_PRODUCT_NAME ${PROJECT_NAME})
set(CPACK_BOSQUELL_MSI_DESCRIPTION ${PROJECT_DESCRIPTION})
# Never change it: Windows knows every version of Bosquell by it, and a newer one finds and
# replaces the older one through it.
set(CPACK_BOSQUELL_MSI_UPGRADE_CODE 6D742548-86C9-468A-AB1A-F3E9B80D3530)
