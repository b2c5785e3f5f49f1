// The course site's service worker. It keeps the site's files in a cache of its
// own, named by the folder the site is served from (the worker's scope) and by
// the build, so that two copies of the site on one host, and every other
// application there, keep theirs: a new build's worker removes only the caches
// of this folder's earlier builds.
// Each request inside the folder goes to the host first, revalidated whatever
// the host says of caching, so a new build is seen at the first visit that
// reaches the host. Where the host has not answered within 2 s, answers with an
// error (404, 5xx) or cannot be reached, the copy in the cache answers instead;
// a page of the folder that is not kept gets the program's page. Each good
// answer for one of the site's files renews its copy; a query string is no
// other file.
'use strict';
const scope = self.registration.scope;
const prefix = `integration-velmar ${new URL(scope).pathname} `;
const cache = prefix + '@VELMAR_SITE_HASH@';
const files = [@VELMAR_SITE_FILES@].map(f => new URL(f, scope).href);
const page = new URL('index.html', scope).href;
// A host that answers at all sends its first bytes within 2 s, even over a
// crowded classroom network; past that the student gets the copy at hand at
// once, and the answer, when it comes, renews it for the next visit.
const patience = 2000;

// A copy that can answer a navigation: a redirect the host made on the way is
// not kept with it.
const keepable = response => response.redirected ? new Response(response.body, response) : response;
const ask = request => fetch(request, {cache: 'no-cache'});

self.addEventListener('install', event => {
  event.waitUntil(caches.open(cache)
    .then(store => Promise.all(files.map(file => ask(file).then(response => {
      if (!response.ok)
        throw new Error(`${file}: ${response.status}`);
      return store.put(file, keepable(response));
    }))))
    .then(() => self.skipWaiting()));
});

self.addEventListener('activate', event => {
  event.waitUntil(caches.keys()
    .then(names => Promise.all(names.filter(n => n.startsWith(prefix) && n !== cache).map(n => caches.delete(n))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', event => {
  const request = event.request;
  if (request.method !== 'GET' || !request.url.startsWith(scope))
    return;
  const address = new URL(request.url);
  address.search = address.hash = '';
  const key = address.href;
  const asked = ask(request);
  event.waitUntil(asked.then(response => {
    if (!response.ok || !files.includes(key))
      return null;
    const copy = keepable(response.clone()); // before the page reads the answer
    return caches.open(cache).then(store => store.put(key, copy));
  }).catch(() => {}));
  event.respondWith((async () => {
    const timeUp = new Promise(resolve => setTimeout(resolve, patience, undefined));
    const first = await Promise.race([asked.catch(() => null), timeUp]);
    if (first && (first.ok || first.type === 'opaqueredirect'))
      return first;
    const store = await caches.open(cache);
    const kept = await store.match(key) || (request.mode === 'navigate' ? await store.match(page) : undefined);
    // Nothing kept: the host's own answer, however long it takes.
    return kept || first || asked;
  })());
});
