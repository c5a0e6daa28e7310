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

    window.lazyLoadInstance = new LazyLoad();

    // Search results (#contents) stay a plain grid, so that all hits of a page are in view at once.
    $('.multiple-items').not('#contents').slick({
        lazyLoad: 'ondemand',
        infinite: true,
        slidesToShow: 6,
        slidesToScroll: 6
    });

    $('.banner').slick({
        lazyLoad: 'ondemand',
        infinite: true,
        dots: true,
        autoplay: true,
        autoplaySpeed: 2000,
        arrows: false
    });

    // The loader looks for pictures near the view only when the window scrolls or changes size. Building the
    // carousels moves the pictures (the stacked banners shrink to one, so the sections move up), a carousel
    // moves its slides, pictures that arrive change the heights, and a page may place new content: each time
    // the loader looks again, so that every picture in view is loaded without any scrolling.
    var lookAgain = (function () {
        var asked = false;
        return function () {
            if (asked)
                return;
            asked = true;
            window.requestAnimationFrame(function () {
                asked = false;
                window.lazyLoadInstance.update();
            });
        };
    })();
    lookAgain();
    $('.multiple-items, .banner').on('setPosition afterChange', lookAgain);
    $(window).on('load', lookAgain);
    document.addEventListener('load', function (event) {
        if (event.target.tagName === 'IMG')
            lookAgain();
    }, true);
    if (window.MutationObserver)
        new MutationObserver(lookAgain).observe(document.body, { childList: true, subtree: true });

    // Read-only stars, one step per star, drawn with text stars so no icon font is needed.
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
});
