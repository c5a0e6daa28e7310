/* The loading page laid over the page a request was made from, while the request runs: the page underneath
   keeps its state, so that a failed request can give it back exactly as the member left it. Called with the
   loading page's address to cover the page, or with null to take the cover away. */
(function (loadingUrl) {
    'use strict';
    var id = 'elumiraLoadingCover';
    var cover = document.getElementById(id);
    if (loadingUrl === null) {
        if (cover)
            cover.parentNode.removeChild(cover);
        return;
    }
    if (cover)
        return;
    // Keys typed while the cover is up must not reach a field or link of the page underneath.
    if (document.activeElement && document.activeElement.blur)
        document.activeElement.blur();
    cover = document.createElement('iframe');
    cover.id = id;
    cover.src = loadingUrl;
    cover.tabIndex = -1;
    cover.style.cssText = 'position:fixed;left:0;top:0;width:100%;height:100%;margin:0;padding:0;border:0;'
        + 'background:#ffffff;z-index:2147483647;';
    (document.body || document.documentElement).appendChild(cover);
})
