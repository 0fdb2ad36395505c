# What the Windows zip and installer hold, as install rules: one folder with
# pellimar.exe, pellimar-cli.exe, the licence, the release notes, the user
# guide and the sample files. scripts/pack-windows.sh installs them once and
# packs the zip and the installer from that one copy, so that both hold the
# same programs, byte for byte.
install(FILES LICENSE NEWS.md DESTINATION .)
install(FILES
  resources/user-guide.md
  resources/sample.fff resources/sample.def
  resources/sample-ids.fff resources/sample-ids.def
  resources/report.schema.json
  DESTINATION .)
