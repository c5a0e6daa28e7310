// Home page: opens the partner's intro window when asked to (intro is 1 only on the first home page of the
// run), draws the rating stars, loads the pictures as they come into view, and lets the more button scroll.
function readyFunctionScript(intro) {
    if (intro === 1)
        $('#myModal').modal('show');

    readOnlyStars.watch(document.body);

    // The pictures are asked for once the page itself has loaded, so that they never hold up its load.
    $(window).on('load', function () {
        // A new loader looks at the page's pictures as it starts.
        if (window.lazyLoadInstance)
            window.lazyLoadInstance.update();
        else
            window.lazyLoadInstance = new LazyLoad();
    });

    // The button's own onClick asks for the next sections; this only brings the button to the top.
    $('#loadMore').click(function (event) {
        event.preventDefault();
        $('html, body').animate({ scrollTop: $(this).offset().top }, 1500);
    });
}

// Further sections after "Selebihnya": the program writes them into the page's file before the marker comment
// and hands the same mark-up to the page shown, which places it at the same spot and sets it up like the
// first sections. A page without the marker takes nothing, as its file does.
function appendHomeSections(markup) {
    var books = document.getElementById('myBooks');
    var marker = null;
    for (var node = books ? books.lastChild : null; node && !marker; node = node.previousSibling) {
        if (node.nodeType === Node.COMMENT_NODE && node.nodeValue === 'KONTEN')
            marker = node;
    }
    if (!marker)
        return;
    var parsed = document.createElement('template');
    parsed.innerHTML = markup;
    var added = Array.prototype.slice.call(parsed.content.children);
    books.insertBefore(parsed.content, marker);
    books.insertBefore(document.createTextNode('\r\n'), marker);
    readOnlyStars.watch(added);
    if (window.watchCarousels)
        window.watchCarousels(added);
    // The shared page script follows the pictures placed in the page; without it the loader looks at them all.
    if (window.lazyLoadInstance && !window.followsPictures)
        window.lazyLoadInstance.update();
}
