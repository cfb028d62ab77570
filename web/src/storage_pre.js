// Runs inside the module: the player's stored files, for storage.js.
// /data is kept in the browser's IndexedDB (emscripten's IDBFS); syncing
// with populate true reads the stored files in, with false stores the folder.
Module['mountStoredFiles'] = function () {
  FS.mkdir('/data');
  FS.mount(IDBFS, {}, '/data');
};
Module['syncStoredFiles'] = function (populate) {
  return new Promise(function (resolve) {
    FS.syncfs(populate, function (error) { resolve(!error); });
  });
};
