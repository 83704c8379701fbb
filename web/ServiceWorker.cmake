# Writes the site's service worker from its template: the cache's name (the version and a
# digest of every file) and the list of files it caches. Run with -P; SITE, VERSION,
# TEMPLATE and FILES are given.
string(REPLACE "," ";" FILES "${FILES}")
set(digests "")
set(list "")
foreach(f ${FILES})
    file(SHA256 ${SITE}/${f} digest)
    string(APPEND digests ${digest})
    string(APPEND list "  \"./${f}\",\n")
endforeach()
string(SHA256 all "${digests}")
string(SUBSTRING ${all} 0 12 short)
set(QUINTARO_CACHE "quintaro-${VERSION}-${short}")
set(QUINTARO_FILES "  \"./\",\n${list}")
configure_file(${TEMPLATE} ${SITE}/sw.js @ONLY)
