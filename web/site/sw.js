// The service worker: keeps every file of the site, so that the game loads
// and plays offline after one visit, in any edition. make-site.py fills in
// the cache's name and the list of files.
const CACHE = '__CACHE_NAME__';
const FILES = __FILES__;

self.addEventListener('install', event => {
  event.waitUntil(caches.open(CACHE).then(cache => cache.addAll(FILES)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', event => {
  event.waitUntil(caches.keys()
    .then(names => Promise.all(names.filter(name => name !== CACHE).map(name => caches.delete(name))))
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
