// The service worker: keeps every file of the site, so that the game loads
// and plays offline after one visit, in any edition. make-site.py fills in
// the cache's name, the pattern of every release's cache name, and the list
// of files.
const CACHE = '__CACHE_NAME__';
const FILES = __FILES__;

// This site's caches, and no other app's on the same host.
const OWN = new RegExp('__OWN_CACHES__');

// A release's files come from the server, never from the browser's HTTP
// cache, which a host's max-age can keep on the last release's files. The
// new worker takes over at once, so the next load is the new release.
self.addEventListener('install', event => {
  event.waitUntil(caches.open(CACHE)
    .then(cache => cache.addAll(FILES.map(file => new Request(file, { cache: 'reload' }))))
    .then(() => self.skipWaiting()));
});

self.addEventListener('activate', event => {
  event.waitUntil(caches.keys()
    .then(names => Promise.all(names.filter(name => OWN.test(name) && name !== CACHE)
      .map(name => caches.delete(name))))
    .then(() => self.clients.claim()));
});

// Files from the cache (a page's query, ?seed= or ?edition=, does not change
// the file); anything the list missed is kept once fetched.
self.addEventListener('fetch', event => {
  if (event.request.method !== 'GET' || new URL(event.request.url).origin !== self.location.origin) return;
  event.respondWith(caches.open(CACHE).then(cache => cache.match(event.request, { ignoreSearch: true })
    .then(cached => cached || fetch(event.request).then(response => {
      if (response.ok) cache.put(event.request, response.clone());
      return response;
    }))));
});
