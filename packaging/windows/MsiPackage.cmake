# Run by CPack's External generator with the staged install tree in CPACK_TEMPORARY_DIRECTORY:
# builds bosquell-<version>-x64.msi from bosquell.wxs with wixl. `cpack -G External
# -D CPACK_PACKAGE_VERSION=<version>` builds the same installer under another version.
set(version ${CPACK_PACKAGE_VERSION})
set(msi bosquell-${version}-x64.msi)

# One version is one product: the product code follows from the upgrade code and the version,
# so a rebuilt package of an installed version is known as that version.
string(UUID product_code NAMESPACE ${CPACK_BOSQUELL_MSI_UPGRADE_CODE}
       NAME "${CPACK_BOSQUELL_MSI_PRODUCT_NAME} ${version}" TYPE SHA1 UPPER)

find_program(WIXL wixl REQUIRED)
# wixl finds files only by paths relative to the folder it runs in.
set(work ${CPACK_TOPLEVEL_DIRECTORY})
file(COPY_FILE ${CPACK_BOSQUELL_MSI_ICON} ${work}/bosquell.ico)
file(RELATIVE_PATH staged ${work} ${CPACK_TEMPORARY_DIRECTORY})
execute_process(
  COMMAND ${WIXL} --arch x64 --output ${msi}
          -D Version=${version}
          -D ProductCode=${product_code}
          -D UpgradeCode=${CPACK_BOSQUELL_MSI_UPGRADE_CODE}
          "-D" "ProductName=${CPACK_BOSQUELL_MSI_PRODUCT_NAME}"
          "-D" "Manufacturer=${CPACK_PACKAGE_VENDOR}"
          "-D" "Description=${CPACK_BOSQUELL_MSI_DESCRIPTION}"
          -D SourceDir=${staged}
          -D IconFile=bosquell.ico
          ${CPACK_BOSQUELL_MSI_SOURCE}
  WORKING_DIRECTORY ${work}
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "wixl could not build ${msi} (exit ${result})")
endif()
set(CPACK_EXTERNAL_BUILT_PACKAGES ${work}/${msi})
