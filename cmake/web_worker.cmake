# Writes the page's service worker: sw.js with its cache named for the version and a hash of
# every file it keeps (a rebuilt page that differs anywhere gets a new cache).
#   cmake -DPAGE=<build-web> -DWORKER=<sw.js> -DVERSION=<x.y.z> -P web_worker.cmake
set(hashes "")
foreach(file zorvane.html zorvane.js zorvane.wasm zorvane.data manifest.webmanifest icon-192.png icon-512.png)
  file(SHA256 ${PAGE}/${file} hash)
  string(APPEND hashes "${hash}")
endforeach()
file(SHA256 ${WORKER} hash)
string(APPEND hashes "${hash}")
string(SHA256 build "${hashes}")
string(SUBSTRING "${build}" 0 12 build)
file(READ ${WORKER} text)
string(REPLACE "@CACHE_NAME@" "zorvane-${VERSION}-${build}" text "${text}")
file(WRITE ${PAGE}/sw.js "${text}")
