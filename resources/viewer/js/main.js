/* Page script shared by the library pages: header menus, lazy pictures, carousels and rating stars. */
$(document).ready(function () {
    // Field menu of the search box: the chosen field's label replaces the button's label.
    $('.search-panel .dropdown-menu').find('a').click(function (e) {
        e.preventDefault();
        var concept = $(this).text();
        $('.search-panel span#search_concept').text(concept);
    });

    // Account menu: opens while the pointer is over it, with the page dimmed behind it.
    $('.dropdown').hover(function () {
        $(this).find('.login-inner').stop(true, true).fadeIn('fast');
        $(this).addClass('open');
        $('#overlay').show();
    }, function () {
        $(this).find('.login-inner').stop(true, true).fadeOut('fast');
        $(this).removeClass('open');
        $('#overlay').hide();
    });

    // The loader looks for pictures near the view only when the window scrolls or changes size. Building the
    // carousels moves the pictures (the stacked banners shrink to one, so the sections move up), a carousel
    // moves its slides, pictures that arrive change the heights, and a page may place new content: each time
    // the loader looks again, so that every picture in view is loaded without any scrolling.
    //
    // Looking means measuring every picture the loader has not loaded yet, which on a long page is thousands
    // of them at each look. So an observer follows the pictures still to load, and the loader is handed only
    // the ones within its 300 px of the view: it measures those few and loads them as before.
    var nearPictures = null;
    var pictureWatch = window.IntersectionObserver && window.Set ? new IntersectionObserver(function (entries) {
        entries.forEach(function (entry) {
            if (entry.isIntersecting)
                nearPictures.add(entry.target);
            else
                nearPictures.delete(entry.target);
        });
        lookAgain();
    }, { rootMargin: '300px' }) : null;
    if (pictureWatch)
        nearPictures = new Set();
    function loaded(picture) {
        return picture.getAttribute('data-was-processed') === 'true';
    }
    // Follows the pictures still to load in a node placed in the page (the page itself, new sections, the
    // copies a carousel makes of its tiles).
    function watchPictures(node) {
        if (!pictureWatch || node.nodeType !== Node.ELEMENT_NODE)
            return;
        var found = node.matches('img[data-src]') ? [node] : node.querySelectorAll('img[data-src]');
        for (var i = 0; i < found.length; ++i) {
            if (!loaded(found[i]))
                pictureWatch.observe(found[i]);
        }
    }
    var lookAgain = (function () {
        var asked = false;
        return function () {
            if (asked)
                return;
            asked = true;
            window.requestAnimationFrame(function () {
                asked = false;
                var loader = window.lazyLoadInstance;
                if (!loader)
                    return;
                if (!nearPictures) {
                    loader.update();
                    return;
                }
                var near = [];
                nearPictures.forEach(function (picture) {
                    if (loaded(picture)) {
                        nearPictures.delete(picture);
                        pictureWatch.unobserve(picture);
                    } else {
                        near.push(picture);
                    }
                });
                loader.update(near);
            });
        };
    })();
    watchPictures(document.body);
    window.followsPictures = !!pictureWatch && !!window.MutationObserver;

    // Stars the page's own script has not taken in hand (the book detail's) are drawn here, at once.
    var stars = window.readOnlyStars;
    if (!stars) {
        $('.rating-detail').rating({
            containerClass: 'rating-fa',
            filledStar: '<i class="rating-star">&#9733;</i>',
            emptyStar: '<i class="rating-star">&#9734;</i>',
            size: 'xs',
            step: 1,
            showClear: false,
            showCaption: false,
            readonly: true
        });
    }

    // Slick reads sizes and styles many times while it builds a carousel, and each read after its last change
    // costs a style pass over the carousel's whole content. So the carousel is built out of the page (a
    // placeholder keeps its place), where those reads cost nothing, and is measured once it is back. Work that
    // only changes the carousel's content (its stars) is done out of the page too, before slick copies it.
    function slickOutOfPage(element, options, prepare) {
        var parent = element.parentNode;
        var place = parent ? document.createComment('') : null;
        if (place)
            parent.replaceChild(place, element);
        try {
            if (prepare)
                prepare(element);
            $(element).on('setPosition afterChange', lookAgain)
                .on('afterChange', function () {
                    loadBesideWhenIdle(this);
                })
                .on('beforeChange', function (event, slick, current, next) {
                    loadSlides(this, next, slick.options.slidesToShow);
                })
                .slick(options);
        } finally {
            if (place)
                parent.replaceChild(element, place);
        }
        if (place)
            $(element).slick('setPosition');
        loadBesideWhenIdle(element);
    }

    // A carousel clips the slides beside the ones it shows, so their pictures are never near the view for the
    // observer. They are asked for when the page has a moment to spare after the carousel is built or has
    // moved, and at the latest when a move towards them starts, so that slides come in with their pictures.
    // Slides are found by their place in the carousel, copies included (a copy shows the slide whose place it
    // has, counted round the carousel).
    function loadSlides(carousel, first, count) {
        var loader = window.lazyLoadInstance;
        var slides = carousel.slick ? carousel.slick.slideCount : 0;
        if (!loader || !slides)
            return !!loader;
        $(carousel).find('.slick-track > .slick-slide').filter(function () {
            var place = Number(this.getAttribute('data-slick-index')) - first;
            return ((place % slides) + slides) % slides < count;
        }).find('img[data-src]').each(function () {
            if (!loaded(this))
                loader.load(this);
        });
        return true;
    }
    var besideLater = [];
    function loadBesideWhenIdle(carousel) {
        whenIdle(function () {
            var slick = carousel.slick;
            if (!slick)
                return;
            var shown = slick.options.slidesToShow;
            if (!loadSlides(carousel, slick.currentSlide + shown, shown)) {
                besideLater.push(carousel); // until the loader is made
                return;
            }
            loadSlides(carousel, slick.currentSlide - shown, shown);
        });
    }
    function whenIdle(work) {
        if (window.requestIdleCallback)
            window.requestIdleCallback(work, { timeout: 1000 });
        else
            window.setTimeout(work, 0);
    }

    // Each grid becomes a carousel once, when it comes near the view. Its stars are drawn first, so that the
    // copies the carousel makes of its first and last tiles show them too. Search results (#contents) stay a
    // plain grid, so that all hits of a page are in view at once.
    function buildCarousel(grid) {
        if ($(grid).hasClass('slick-initialized'))
            return;
        slickOutOfPage(grid, {
            lazyLoad: 'ondemand',
            infinite: true,
            slidesToShow: 6,
            slidesToScroll: 6
        }, stars ? stars.now : null);
    }

    // A grid in view is built at once. One only near the view waits for a moment when the page has nothing else
    // to do, in two steps (its stars, then the carousel), one step per moment, so that the page answers the
    // member first; any still waiting is built as soon as the page scrolls, before the next frame is drawn.
    var waiting = [];
    function buildWaiting() {
        while (waiting.length)
            buildCarousel(waiting.shift());
    }
    function buildNextWhenIdle() {
        var next = function () {
            var grid = waiting[0];
            if (grid && stars && !$.data(grid, 'starsDrawn')) {
                $.data(grid, 'starsDrawn', true);
                stars.now(grid);
            } else if (grid) {
                buildCarousel(waiting.shift());
            }
            if (waiting.length)
                buildNextWhenIdle();
        };
        whenIdle(next);
    }
    window.addEventListener('scroll', buildWaiting, { passive: true });
    function inView(box) {
        return box.top < window.innerHeight && box.bottom > 0;
    }
    var nearView = window.IntersectionObserver ? new IntersectionObserver(function (entries) {
        entries.forEach(function (entry) {
            if (!entry.isIntersecting)
                return;
            nearView.unobserve(entry.target);
            if (inView(entry.boundingClientRect)) {
                buildCarousel(entry.target);
            } else {
                waiting.push(entry.target);
                if (waiting.length === 1)
                    buildNextWhenIdle();
            }
        });
    }, { rootMargin: '600px 0px' }) : null;
    // A grid already in view is built before the page is first drawn, so that the member never sees it as a
    // plain grid; the others are built as they come near.
    window.watchCarousels = function (scope) {
        $(scope).find('.multiple-items').addBack('.multiple-items').not('#contents').each(function () {
            if (nearView && !inView(this.getBoundingClientRect())) {
                if (stars && stars.handOver)
                    stars.handOver(this);
                nearView.observe(this);
            } else {
                buildCarousel(this);
            }
        });
    };

    // The banner first: it takes the top of the page, and the grids in view are known once it is built.
    $('.banner').each(function () {
        slickOutOfPage(this, {
            lazyLoad: 'ondemand',
            infinite: true,
            dots: true,
            autoplay: true,
            autoplaySpeed: 2000,
            arrows: false
        });
    });
    window.watchCarousels(document.body);

    // One loader for the page (a page's own script may have created it already). The pictures are asked for
    // once the page itself has loaded, so that they never hold up its load.
    $(window).on('load', function () {
        window.lazyLoadInstance = window.lazyLoadInstance || new LazyLoad();
        lookAgain();
        besideLater.splice(0).forEach(loadBesideWhenIdle);
    });
    document.addEventListener('load', function (event) {
        if (event.target.tagName === 'IMG')
            lookAgain();
    }, true);
    if (window.MutationObserver) {
        new MutationObserver(function (records) {
            records.forEach(function (record) {
                for (var i = 0; i < record.addedNodes.length; ++i)
                    watchPictures(record.addedNodes[i]);
            });
            lookAgain();
        }).observe(document.body, { childList: true, subtree: true });
    }

    if (stars)
        stars.watch(document.body);
});
