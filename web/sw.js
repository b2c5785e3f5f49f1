// The course site's service worker: it keeps the site's files in a cache named
// by the build's content, so the page opens and runs with the network gone.
// Online, each file comes from the site (a new build is seen at once) and the
// cache keeps the copy; offline, from the cache. A new build's worker removes
// the caches of the old ones.
'use strict';
const cache = 'integration-velmar-@VELMAR_SITE_HASH@';
const files = [@VELMAR_SITE_FILES@];

self.addEventListener('install', event => {
  event.waitUntil(caches.open(cache).then(c => c.addAll(files)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', event => {
  event.waitUntil(caches.keys()
    .then(names => Promise.all(names.filter(n => n !== cache).map(n => caches.delete(n))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', event => {
  const request = event.request;
  if (request.method !== 'GET' || new URL(request.url).origin !== location.origin)
    return;
  event.respondWith(fetch(request).then(response => {
    if (response.ok) {
      const copy = response.clone();
      caches.open(cache).then(c => c.put(request, copy));
    }
    return response;
  }).catch(() => caches.match(request, {ignoreSearch: true})
    .then(found => found || (request.mode === 'navigate' ? caches.match('./') : Response.error()))));
});
