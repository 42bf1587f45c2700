# Installs the build into a scratch prefix and checks that the licence reaches
# share/doc/ventora/copyright (in the package: /usr/share/doc/ventora/copyright) and that it reads
# as a machine-readable Debian copyright file.
#   cmake -DBUILD_DIR=... -DSCRATCH=... -DPYTHON=... -P installed_copyright.cmake
file(REMOVE_RECURSE ${SCRATCH})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${SCRATCH}
                RESULT_VARIABLE installed OUTPUT_QUIET)
if(NOT installed EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${installed}")
endif()
set(copyright ${SCRATCH}/share/doc/ventora/copyright)
if(NOT EXISTS ${copyright})
  message(FATAL_ERROR "not installed: ${copyright}")
endif()
# Strict parsing: the Format header, a Files paragraph for every file with its Copyright and
# License, and the full text of every licence named only by its short name.
execute_process(
  COMMAND ${PYTHON} -c [=[
import sys
from debian import copyright
c = copyright.Copyright(open(sys.argv[1], encoding='utf-8'), strict=True)
if not c.header.format or not c.header.upstream_name:
    sys.exit('no Format or Upstream-Name header')
files = list(c.all_files_paragraphs())
if not any('*' in p.files for p in files):
    sys.exit('no Files: * paragraph')
texts = {p.license.synopsis for p in c.all_license_paragraphs() if p.license.text}
for p in files:
    if not p.copyright:
        sys.exit('no Copyright for ' + ' '.join(p.files))
    if not p.license.text and p.license.synopsis not in texts:
        sys.exit('no text for licence ' + p.license.synopsis)
]=] ${copyright}
  RESULT_VARIABLE parsed)
file(REMOVE_RECURSE ${SCRATCH})
if(NOT parsed EQUAL 0)
  message(FATAL_ERROR "not a machine-readable copyright file: ${copyright}")
endif()
